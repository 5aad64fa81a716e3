#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace appsupport {

// The about box of both programs: the application title, and the file version, copyright
// line and description carried in the executable. Constructing it throws
// platform::Exception when the executable carries no version information.
class TFormMirabekAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TFormMirabekAboutBox(QWidget* owner);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* Comments;
    QLabel* LabelURL;
    QPushButton* OKButton;

public slots:
    // Opens the address the label shows in the default browser; a failure has no effect.
    void LabelURLClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace appsupport
