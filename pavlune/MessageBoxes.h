#pragma once

#include <QMessageBox>

class QWidget;

namespace pavlune {

// The standard questions and warnings, in Japanese whatever the system language.

// "確認" with Yes, No and Cancel; returns the button pressed (Cancel for the close box).
QMessageBox::StandardButton AskConfirmation(QWidget* parent, const QString& message);

// "警告" with a single OK.
void ShowWarning(QWidget* parent, const QString& message);

}  // namespace pavlune
