#pragma once

#include <QApplication>

#include <functional>

namespace appsupport {

// The application object of both programs and their error display: an exception that escapes an
// event handler ends only the command that raised it and is shown in a message box with the
// application title, the critical icon and the exception's message.
class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Builds the main window (buildMainWindow shows it and keeps it alive) and runs the event loop.
    // An exception while the window is being built is shown like any other; the program then
    // ends with status 1.
    int Run(const std::function<void()>& buildMainWindow);

    static void ShowException(const QString& message);
};

}  // namespace appsupport
