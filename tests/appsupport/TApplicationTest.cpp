#include "appsupport/TApplication.h"

#include "platform/Exception.h"

#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

using appsupport::TApplication;

namespace {

struct ShownBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int count = 0;
};

// Closes every message box the error display opens, noting what it showed.
class BoxWatcher : public QObject {
public:
    BoxWatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown.title = box->windowTitle();
                shown.text = box->text();
                shown.icon = box->icon();
                ++shown.count;
                box->accept();
            }
        });
        timer_.start(10);
    }
    ShownBox shown;

private:
    QTimer timer_;
};

// An object whose handler of a posted event throws.
class Thrower : public QObject {
public:
    std::function<void()> action;
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User)
            action();
        return QObject::event(event);
    }
};

TEST(TApplication, ExceptionEscapingAHandlerIsShownAndTheLoopGoesOn) {
    QApplication::setApplicationDisplayName(QStringLiteral("Pavlune"));
    struct Case {
        std::function<void()> raise;
        QString message;
    };
    for (const Case& c : {
             Case{[] { throw platform::Exception(QStringLiteral("クリップボードを開けません")); },
                  QStringLiteral("クリップボードを開けません")},
             Case{[] { throw std::runtime_error("disk full"); }, QStringLiteral("disk full")},
         }) {
        BoxWatcher watcher;
        Thrower thrower;
        thrower.action = c.raise;
        bool afterwards = false;
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QTimer::singleShot(200, [&] {
            afterwards = true;
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        EXPECT_TRUE(afterwards);
        EXPECT_EQ(watcher.shown.count, 1);
        EXPECT_EQ(watcher.shown.title, QStringLiteral("Pavlune"));
        EXPECT_EQ(watcher.shown.text, c.message);
        EXPECT_EQ(watcher.shown.icon, QMessageBox::Critical);
    }
}

TEST(TApplication, FailureWhileBuildingTheMainWindowIsShownAndEndsWithStatusOne) {
    BoxWatcher watcher;
    auto* application = static_cast<TApplication*>(QCoreApplication::instance());
    const int status = application->Run([] { throw platform::Exception(QStringLiteral("設定ファイルを読めません")); });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(watcher.shown.count, 1);
    EXPECT_EQ(watcher.shown.text, QStringLiteral("設定ファイルを読めません"));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication application(argc, argv);
    // The boxes shown are the only windows: closing one must not end the loop under test.
    QApplication::setQuitOnLastWindowClosed(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
