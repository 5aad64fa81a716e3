#pragma once

#include "pavlune/TPavluneKeyConfig.h"
#include "platform/X11Keymap.h"

#include <QDialog>

#include <cstdint>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pavlune {

// The dialog in which one hotkey entry is edited: conversion, target, description, modifiers,
// main key and the on/off switch. It checks nothing: OK takes what is shown.
class TFormPavluneKeyConf : public QDialog {
    Q_OBJECT

public:
    explicit TFormPavluneKeyConf(QWidget* owner);

    void SetKeyConfig(const TPavluneKeyConfig& entry);
    TPavluneKeyConfig GetKeyConfig() const;

    // The layout that turns a key event's physical key into its virtual-key code; by default the
    // X server's keyboard as it is when the dialog opens.
    void UseKeymap(platform::X11Keymap keymap);

    QLabel* LabelTaskType;
    QComboBox* ComboBoxTaskType;
    QLabel* LabelTarget;
    QComboBox* ComboBoxTarget;
    QLabel* LabelCaption;
    QLineEdit* EditCaption;
    QPushButton* BtnShift;
    QPushButton* BtnCtrl;
    QPushButton* BtnAlt;
    QLineEdit* EditKey;
    QLabel* LabelKeyCode;
    QCheckBox* CheckBoxEnabled;
    QPushButton* BtnOK;
    QPushButton* BitBtn2;

public slots:
    void ComboBoxTaskTypeChange();
    void CheckBoxEnabledClick();
    // A key pressed in the key field, as its virtual-key code: taken when the key-name table has it.
    void EditKeyKeyDown(std::uint16_t virtualKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::uint16_t FKeyCode = 0;
    std::optional<platform::X11Keymap> keymap_;
};

}  // namespace pavlune
