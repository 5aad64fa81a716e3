#include "pavlune/HelpWindow.h"

#include <QApplication>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pavlune {
namespace {

QUrl PageOfContext(int context) {
    switch (context) {
    case 6: return QUrl(QStringLiteral("qrc:/help/pavlune/general.html"));
    case 7: return QUrl(QStringLiteral("qrc:/help/pavlune/tasktypes.html"));
    default: return QUrl(QStringLiteral("qrc:/help/pavlune/index.html"));
    }
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QDialog(owner), Browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Pavlune ヘルプ"));
    setAttribute(Qt::WA_DeleteOnClose);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Browser);
    resize(560, 480);
}

void HelpWindow::ShowContext(int context) {
    // Asked from a modal dialog, the window belongs to that dialog, or the dialog would block it.
    static QPointer<HelpWindow> window;
    QWidget* owner = QApplication::activeModalWidget();
    if (window && window->parentWidget() != owner) {
        window->close();
        window = nullptr;
    }
    if (!window)
        window = new HelpWindow(owner);
    window->Browser->setSource(PageOfContext(context));
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace pavlune
