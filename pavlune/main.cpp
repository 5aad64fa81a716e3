#include "appsupport/TApplication.h"
#include "pavlune/TFormMain.h"
#include "platform/X11HotkeyService.h"

#include <memory>

int main(int argc, char** argv) {
    // The hotkeys are X11 key grabs: run on the xcb platform, through XWayland in a Wayland session.
    qputenv("QT_QPA_PLATFORM", "xcb");
    appsupport::TApplication application(argc, argv);
    // The title the window and the tray icon take before the program names itself.
    QCoreApplication::setApplicationName(QStringLiteral("Pavlune"));
    // Closing the main window ends the program; a message box closed while it is hidden must not.
    QApplication::setQuitOnLastWindowClosed(false);

    std::unique_ptr<platform::X11HotkeyService> hotkeys;
    std::unique_ptr<pavlune::TFormMain> window;
    return application.Run([&] {
        hotkeys = std::make_unique<platform::X11HotkeyService>();
        window = std::make_unique<pavlune::TFormMain>(*hotkeys);
        QObject::connect(hotkeys.get(), &platform::X11HotkeyService::HotkeyPressed, window.get(),
                         &pavlune::TFormMain::WMHotKey);
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Pavlune"));
        window->show();
    });
}
