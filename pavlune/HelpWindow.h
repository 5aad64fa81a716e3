#pragma once

#include <QDialog>

class QTextBrowser;

namespace pavlune {

// Pavlune's help, carried inside the program: one window for the whole application that shows
// the page of a help context (1 overview, 6 general settings, 7 task types).
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // Shows the page of the context in the one help window, creating it on first use.
    static void ShowContext(int context);

    QTextBrowser* Browser;

private:
    explicit HelpWindow(QWidget* owner);
};

}  // namespace pavlune
