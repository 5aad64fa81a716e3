#include "pavlune/TFormPavluneKeyConf.h"

#include "pavlune/HelpWindow.h"
#include "pavlune/KeyNames.h"
#include "pavlune/TaskTypes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace pavlune {
namespace {

constexpr int kHelpContextTaskTypes = 7;

// Twelve lines "name → description", the last without its line feed.
QString TaskTypeHint() {
    QString hint;
    for (const TaskTypeText& text : TaskTypeTexts)
        hint += QStringLiteral("%1 → %2\n").arg(text.Name, text.Description);
    return hint.trimmed();
}

QPushButton* ModifierButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    return button;
}

bool IsDialogNavigation(int key) {
    return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Escape;
}

}  // namespace

TFormPavluneKeyConf::TFormPavluneKeyConf(QWidget* owner)
    : QDialog(owner),
      LabelTaskType(new QLabel(QStringLiteral("変換処理(&T)"), this)),
      ComboBoxTaskType(new QComboBox(this)),
      LabelTarget(new QLabel(QStringLiteral("変換する文字種別(&R)"), this)),
      ComboBoxTarget(new QComboBox(this)),
      LabelCaption(new QLabel(QStringLiteral("説明文"), this)),
      EditCaption(new QLineEdit(this)),
      BtnShift(ModifierButton(QStringLiteral("&Shift"), QStringLiteral("BtnShift"), this)),
      BtnCtrl(ModifierButton(QStringLiteral("&Ctrl"), QStringLiteral("BtnCtrl"), this)),
      BtnAlt(ModifierButton(QStringLiteral("&Alt"), QStringLiteral("BtnAlt"), this)),
      EditKey(new QLineEdit(this)),
      LabelKeyCode(new QLabel(this)),
      CheckBoxEnabled(new QCheckBox(QStringLiteral("有効にする(&E)"), this)),
      BtnOK(new QPushButton(QStringLiteral("OK"), this)),
      BitBtn2(new QPushButton(QStringLiteral("キャンセル"), this)) {
    setObjectName(QStringLiteral("FormPavluneKeyConf"));
    setWindowTitle(QStringLiteral("キー設定"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    LabelTaskType->setObjectName(QStringLiteral("LabelTaskType"));
    ComboBoxTaskType->setObjectName(QStringLiteral("ComboBoxTaskType"));
    LabelTarget->setObjectName(QStringLiteral("LabelTarget"));
    ComboBoxTarget->setObjectName(QStringLiteral("ComboBoxTarget"));
    EditCaption->setObjectName(QStringLiteral("EditCaption"));
    EditKey->setObjectName(QStringLiteral("EditKey"));
    LabelKeyCode->setObjectName(QStringLiteral("LabelKeyCode"));
    CheckBoxEnabled->setObjectName(QStringLiteral("CheckBoxEnabled"));
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    LabelTaskType->setBuddy(ComboBoxTaskType);
    LabelTarget->setBuddy(ComboBoxTarget);
    for (const TaskTypeText& text : TaskTypeTexts)
        ComboBoxTaskType->addItem(text.Name.toString());
    ComboBoxTaskType->setToolTip(TaskTypeHint());

    // The key field only captures keys: no typing, no pasting, no input method.
    EditKey->setReadOnly(true);
    EditKey->setAttribute(Qt::WA_InputMethodEnabled, false);
    EditKey->setContextMenuPolicy(Qt::NoContextMenu);
    EditKey->setFixedWidth(EditKey->fontMetrics().horizontalAdvance(QStringLiteral("F12")) * 3);
    EditKey->installEventFilter(this);

    // Enter must not press OK: no button of this dialog is a default button.
    BtnOK->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);

    auto* modifiers = new QHBoxLayout;
    modifiers->addWidget(BtnShift);
    modifiers->addWidget(BtnCtrl);
    modifiers->addWidget(BtnAlt);
    modifiers->addWidget(EditKey);
    modifiers->addWidget(LabelKeyCode, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelTaskType);
    layout->addWidget(ComboBoxTaskType);
    layout->addWidget(LabelTarget);
    layout->addWidget(ComboBoxTarget);
    layout->addWidget(LabelCaption);
    layout->addWidget(EditCaption);
    layout->addLayout(modifiers);
    layout->addWidget(CheckBoxEnabled);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(ComboBoxTaskType, EditCaption);
    setTabOrder(EditCaption, EditKey);
    setTabOrder(EditKey, CheckBoxEnabled);
    setTabOrder(CheckBoxEnabled, BtnOK);
    setTabOrder(BtnOK, BitBtn2);
    setTabOrder(BitBtn2, ComboBoxTarget);

    connect(ComboBoxTaskType, &QComboBox::activated, this, &TFormPavluneKeyConf::ComboBoxTaskTypeChange);
    connect(CheckBoxEnabled, &QCheckBox::clicked, this, &TFormPavluneKeyConf::CheckBoxEnabledClick);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            [] { HelpWindow::ShowContext(kHelpContextTaskTypes); });

    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 && x11->connection())
        keymap_.emplace(platform::X11Keymap::FromServer(x11->connection()));
}

void TFormPavluneKeyConf::UseKeymap(platform::X11Keymap keymap) { keymap_.emplace(std::move(keymap)); }

void TFormPavluneKeyConf::SetKeyConfig(const TPavluneKeyConfig& entry) {
    ComboBoxTaskType->setCurrentIndex(entry.TaskType >= 0 && entry.TaskType < TaskTypeCount ? entry.TaskType : -1);
    ComboBoxTaskTypeChange();
    ComboBoxTarget->setCurrentIndex(entry.Target >= 0 && entry.Target < ComboBoxTarget->count() ? entry.Target : -1);
    EditCaption->setText(entry.Caption);
    BtnAlt->setChecked(entry.Alt);
    BtnShift->setChecked(entry.Shift);
    BtnCtrl->setChecked(entry.Ctrl);
    CheckBoxEnabled->setChecked(entry.IsEnabled());
    CheckBoxEnabledClick();
    if (!IsKeyMapCode(entry.Key)) {
        EditKey->clear();
        LabelKeyCode->clear();
        FKeyCode = 0;
    } else {
        EditKeyKeyDown(entry.Key);
    }
}

TPavluneKeyConfig TFormPavluneKeyConf::GetKeyConfig() const {
    return TPavluneKeyConfig(ComboBoxTaskType->currentIndex(), BtnShift->isChecked(), BtnCtrl->isChecked(),
                             BtnAlt->isChecked(), FKeyCode, CheckBoxEnabled->isChecked(), EditCaption->text(),
                             ComboBoxTarget->currentIndex());
}

void TFormPavluneKeyConf::ComboBoxTaskTypeChange() {
    ComboBoxTarget->clear();
    for (std::int32_t target : GetValidTargets(ComboBoxTaskType->currentIndex()))
        ComboBoxTarget->addItem(TargetNames[target].toString());
    ComboBoxTarget->setCurrentIndex(0);
}

void TFormPavluneKeyConf::CheckBoxEnabledClick() {
    const bool enabled = CheckBoxEnabled->isChecked();
    BtnShift->setEnabled(enabled);
    BtnCtrl->setEnabled(enabled);
    BtnAlt->setEnabled(enabled);
    EditKey->setEnabled(enabled);
}

void TFormPavluneKeyConf::EditKeyKeyDown(std::uint16_t virtualKey) {
    if (!IsKeyMapCode(virtualKey))
        return;
    const TKeyMap row = FindKeyMap(virtualKey);
    EditKey->setText(row.GetName());
    LabelKeyCode->setText(QStringLiteral("(%1)").arg(row.GetCode()));
    FKeyCode = row.GetCode();
}

bool TFormPavluneKeyConf::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditKey && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (IsDialogNavigation(keyEvent->key()))
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // Every other key, F1 and the accelerators included, belongs to the capture.
            event->accept();
            return true;
        }
        // The physical key decides, never the character it types with Shift held.
        if (keymap_)
            EditKeyKeyDown(keymap_->VirtualKeyForKeycode(keyEvent->nativeScanCode()));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pavlune
