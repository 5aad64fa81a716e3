#include "pavlune/TFormPavluneConfigGeneral.h"

#include "pavlune/HelpWindow.h"
#include "pavlune/TPavluneConfig.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace pavlune {
namespace {
constexpr int kHelpContextGeneral = 6;
}

TFormPavluneConfigGeneral::TFormPavluneConfigGeneral(QWidget* owner)
    : QDialog(owner),
      CheckBoxStartupMinimized(new QCheckBox(QStringLiteral("最小化して起動する。(&M)"), this)),
      BtnOk(new QPushButton(QStringLiteral("OK"), this)),
      BitBtn2(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormPavluneConfigGeneral"));
    setWindowTitle(QStringLiteral("全般設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    CheckBoxStartupMinimized->setObjectName(QStringLiteral("CheckBoxStartupMinimized"));
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BtnOk->setDefault(true);
    BitBtn2->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CheckBoxStartupMinimized);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BtnOk, &QPushButton::clicked, this, &TFormPavluneConfigGeneral::BtnOkClick);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [] { HelpWindow::ShowContext(kHelpContextGeneral); });
}

void TFormPavluneConfigGeneral::SetConfig(TPavluneConfig* config) {
    FConfig = config;
    CheckBoxStartupMinimized->setChecked(FConfig->GetMinimized());
}

void TFormPavluneConfigGeneral::BtnOkClick() {
    FConfig->SetMinimized(CheckBoxStartupMinimized->isChecked());
    // A failed save leaves the dialog open (the error display shows why); the value stays set.
    FConfig->Save();
    accept();
}

}  // namespace pavlune
