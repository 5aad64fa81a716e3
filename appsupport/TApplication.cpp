#include "appsupport/TApplication.h"

#include "platform/Exception.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <exception>

namespace appsupport {
namespace {

// Runs the action; an exception it lets out is shown. True when none escaped.
template <typename Action>
bool ShowingExceptions(Action&& action) {
    try {
        action();
        return true;
    } catch (const platform::Exception& error) {
        TApplication::ShowException(error.Message());
    } catch (const std::exception& error) {
        TApplication::ShowException(QString::fromLocal8Bit(error.what()));
    }
    return false;
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    ShowingExceptions([&] { result = QApplication::notify(receiver, event); });
    return result;
}

int TApplication::Run(const std::function<void()>& buildMainWindow) {
    if (!ShowingExceptions(buildMainWindow))
        return 1;
    return exec();
}

void TApplication::ShowException(const QString& message) {
    QMessageBox box(QMessageBox::Critical, applicationDisplayName(), message, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

}  // namespace appsupport
