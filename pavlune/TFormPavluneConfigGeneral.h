#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace pavlune {

class TPavluneConfig;

// The general settings: whether Pavlune goes to the tray right after it starts. OK stores the
// setting in the configuration and saves the settings file.
class TFormPavluneConfigGeneral : public QDialog {
    Q_OBJECT

public:
    explicit TFormPavluneConfigGeneral(QWidget* owner);

    // The configuration to edit; not owned.
    void SetConfig(TPavluneConfig* config);

    QCheckBox* CheckBoxStartupMinimized;
    QPushButton* BtnOk;
    QPushButton* BitBtn2;

public slots:
    void BtnOkClick();

private:
    TPavluneConfig* FConfig = nullptr;
};

}  // namespace pavlune
