#include "pavlune/TFormPavluneKeyConf.h"

#include "pavlune/TFormPavluneConfigGeneral.h"
#include "pavlune/TPavluneConfig.h"
#include "tests/appsupport/XdgSandbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using pavlune::TFormPavluneKeyConf;
using pavlune::TPavluneKeyConfig;

namespace {

TPavluneKeyConfig NewEntry() {
    return TPavluneKeyConfig(0, false, true, false, 0x31, true, QStringLiteral("ひらがなに変換する"), 0);
}

QStringList Items(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// A key press in the key field as the xcb platform delivers it: the X keycode and the keysym typed.
void PressKey(TFormPavluneKeyConf& dialog, std::uint32_t keycode, Qt::Key key, Qt::KeyboardModifiers modifiers,
              const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, keycode, 0, 0, text);
    QCoreApplication::sendEvent(dialog.EditKey, &press);
}

class KeyConfDialog : public testing::Test {
protected:
    KeyConfDialog() : dialog(nullptr) { dialog.UseKeymap(platform::X11Keymap::FromNames("evdev", "jp106", "jp", "")); }
    TFormPavluneKeyConf dialog;
};

TEST_F(KeyConfDialog, ANewEntryOpensAsTheDefaultAndComesBackUnchanged) {
    dialog.SetKeyConfig(NewEntry());
    EXPECT_EQ(dialog.ComboBoxTaskType->currentText(), QStringLiteral("ひらがなに変換する"));
    EXPECT_EQ(Items(dialog.ComboBoxTarget), QStringList{"すべて"});
    EXPECT_EQ(dialog.EditCaption->text(), QStringLiteral("ひらがなに変換する"));
    EXPECT_TRUE(dialog.BtnCtrl->isChecked());
    EXPECT_FALSE(dialog.BtnShift->isChecked() || dialog.BtnAlt->isChecked());
    EXPECT_EQ(dialog.EditKey->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.LabelKeyCode->text(), QStringLiteral("(49)"));
    EXPECT_TRUE(dialog.CheckBoxEnabled->isChecked());
    EXPECT_EQ(dialog.GetKeyConfig(), NewEntry());
    const QStringList hint = dialog.ComboBoxTaskType->toolTip().split(u'\n');
    ASSERT_EQ(hint.size(), 12);
    EXPECT_EQ(hint[0], QStringLiteral("ひらがなに変換する → ひらがなに変換します"));
    EXPECT_EQ(hint[11], QStringLiteral("大文字で始める → 先頭の文字を大文字に、それ以外の文字を小文字に変換します"));
}

TEST_F(KeyConfDialog, TheKeyComesFromThePhysicalKeyAndOnlyTableKeysAreTaken) {
    dialog.SetKeyConfig(NewEntry());
    struct Case {
        std::uint32_t keycode;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString name;
        QString code;
    };
    for (const Case& c : {
             Case{11, Qt::Key_QuoteDbl, Qt::ShiftModifier, "2", "(50)"},  // Shift+2 types a double quote
             Case{84, Qt::Key_5, Qt::KeypadModifier, "5", "(101)"},
             Case{14, Qt::Key_5, Qt::ControlModifier, "5", "(53)"},  // Ctrl comes only from the buttons
             Case{38, Qt::Key_A, Qt::NoModifier, "a", "(65)"},
             Case{132, Qt::Key_Backslash, Qt::NoModifier, "\\", "(220)"},
             Case{97, Qt::Key_Backslash, Qt::NoModifier, "\\", "(226)"},
             Case{67, Qt::Key_F1, Qt::NoModifier, "F1", "(112)"},
             // Not in the table: the field stays as it was.
             Case{65, Qt::Key_Space, Qt::NoModifier, "F1", "(112)"},
             Case{36, Qt::Key_Return, Qt::NoModifier, "F1", "(112)"},
             Case{22, Qt::Key_Backspace, Qt::NoModifier, "F1", "(112)"},
             Case{119, Qt::Key_Delete, Qt::NoModifier, "F1", "(112)"},
             Case{113, Qt::Key_Left, Qt::NoModifier, "F1", "(112)"},
         }) {
        SCOPED_TRACE(c.keycode);
        PressKey(dialog, c.keycode, c.key, c.modifiers);
        EXPECT_EQ(dialog.EditKey->text(), c.name);
        EXPECT_EQ(dialog.LabelKeyCode->text(), c.code);
    }
    EXPECT_EQ(dialog.GetKeyConfig().Key, 0x70);
    EXPECT_EQ(dialog.GetKeyConfig().KeyText, QStringLiteral("[Ctrl] + F1"));
}

TEST_F(KeyConfDialog, TheTargetListFollowsTheTaskType) {
    dialog.SetKeyConfig(TPavluneKeyConfig(3, false, false, true, 0x41, true, QStringLiteral("x"), 2));
    EXPECT_EQ(dialog.ComboBoxTaskType->currentText(), QStringLiteral("半角文字に変換する"));
    EXPECT_EQ(dialog.ComboBoxTarget->currentText(), QStringLiteral("数字"));
    dialog.ComboBoxTaskType->setCurrentIndex(2);
    dialog.ComboBoxTaskTypeChange();
    EXPECT_EQ(Items(dialog.ComboBoxTarget), (QStringList{"すべて", "英字", "数字", "英数字"}));
    EXPECT_EQ(dialog.ComboBoxTarget->currentIndex(), 0);
    dialog.ComboBoxTaskType->setCurrentIndex(0);
    dialog.ComboBoxTaskTypeChange();
    EXPECT_EQ(Items(dialog.ComboBoxTarget), QStringList{"すべて"});
}

TEST_F(KeyConfDialog, SwitchedOffGreysTheKeyControlsButKeepsTheirValues) {
    dialog.SetKeyConfig(NewEntry());
    dialog.CheckBoxEnabled->click();
    EXPECT_FALSE(dialog.BtnCtrl->isEnabled());
    EXPECT_FALSE(dialog.EditKey->isEnabled());
    EXPECT_TRUE(dialog.ComboBoxTaskType->isEnabled());
    const TPavluneKeyConfig entry = dialog.GetKeyConfig();
    EXPECT_FALSE(entry.Enabled);
    EXPECT_TRUE(entry.Ctrl);
    EXPECT_EQ(entry.Key, 0x31);

    // Switched on but without a key: opens switched off.
    dialog.SetKeyConfig(TPavluneKeyConfig(0, false, true, false, 0, true, QStringLiteral("x"), 0));
    EXPECT_FALSE(dialog.CheckBoxEnabled->isChecked());
    EXPECT_EQ(dialog.EditKey->text(), QString());
}

TEST_F(KeyConfDialog, AnUnknownTaskTypeSelectsNothingAndComesBackAsMinusOne) {
    dialog.SetKeyConfig(TPavluneKeyConfig(15, false, true, false, 0x31, true, QStringLiteral("x"), 0));
    EXPECT_EQ(dialog.ComboBoxTaskType->currentIndex(), -1);
    EXPECT_EQ(Items(dialog.ComboBoxTarget), QStringList{"すべて"});
    EXPECT_EQ(dialog.GetKeyConfig().TaskType, -1);
}

TEST_F(KeyConfDialog, EnterDoesNotPressOkButEscapeCancels) {
    dialog.SetKeyConfig(NewEntry());
    dialog.show();
    QTest::keyClick(dialog.EditCaption, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 0);
    QTest::keyClick(dialog.EditKey, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.BtnShift->focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(dialog.EditKey->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(KeyConfDialog, TabOrder) {
    const QList<QWidget*> order{dialog.ComboBoxTaskType, dialog.EditCaption, dialog.EditKey, dialog.CheckBoxEnabled,
                                dialog.BtnOK, dialog.BitBtn2, dialog.ComboBoxTarget};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget* next = order[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || !next->isEnabled())
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i + 1]) << i;
    }
}

TEST(GeneralSettingsDialog, OkStoresAndSavesCancelLeavesAlone) {
    XdgSandbox sandbox;
    pavlune::TPavluneConfig config;
    config.SetDefault();
    for (bool confirm : {false, true}) {
        pavlune::TFormPavluneConfigGeneral dialog(nullptr);
        dialog.SetConfig(&config);
        EXPECT_FALSE(dialog.CheckBoxStartupMinimized->isChecked());
        dialog.CheckBoxStartupMinimized->setChecked(true);
        (confirm ? dialog.BtnOk : dialog.BitBtn2)->click();
        EXPECT_EQ(config.GetMinimized(), confirm);
        pavlune::TPavluneConfig stored;
        stored.Load();
        EXPECT_EQ(stored.GetMinimized(), confirm);
    }
    pavlune::TFormPavluneConfigGeneral dialog(nullptr);
    EXPECT_TRUE(dialog.BtnOk->isDefault());
}

}  // namespace
