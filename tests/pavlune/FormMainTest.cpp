#include "pavlune/TFormMain.h"

#include "pavlune/TFormPavluneKeyConf.h"
#include "pavlune/TPavluneConfig.h"
#include "platform/Exception.h"
#include "platform/SystemLocale.h"
#include "tests/appsupport/XdgSandbox.h"
#include "tests/pavlune/FakeHotkeyBackend.h"
#include "tests/pavlune/ModalHelpers.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>
#include <vector>

using pavlune::TFormMain;
using pavlune::TPavluneConfig;
using platform::HotkeyBackend;

namespace {

class FormMain : public testing::Test {
protected:
    void SetUp() override {
        platform::SetUserDefaultLCID(0x0411);
        platform::SetSystemCodePage(65001);
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Pavlune"));
    }

    // Runs what the event loop has queued: the deferred minimise and the idle handlers.
    static void Settle() {
        for (int i = 0; i < 5; ++i)
            QTest::qWait(5);
    }

    QStringList Row(TFormMain& form, int row) {
        QTreeWidgetItem* item = form.ListView1->topLevelItem(row);
        return {item->text(0), item->text(1), item->text(2)};
    }
    int Selected(TFormMain& form) {
        const auto selected = form.ListView1->selectedItems();
        return selected.isEmpty() ? -1 : form.ListView1->indexOfTopLevelItem(selected.first());
    }
    std::vector<pavlune::TPavluneKeyConfig> Stored() {
        TPavluneConfig config;
        config.Load();
        return config.GetKeyConfigs();
    }
    QByteArray FileText() {
        QFile file(TPavluneConfig().GetFileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    XdgSandbox sandbox_;
    FakeHotkeyBackend backend_;
};

TEST_F(FormMain, FirstStartShowsTheTwelveDefaultsWithTheFirstRowSelected) {
    TFormMain form(backend_);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Pavlune"));
    ASSERT_EQ(form.ListView1->topLevelItemCount(), 12);
    EXPECT_EQ(Row(form, 0), (QStringList{"ひらがなに変換する", "[Ctrl] + 1", "○"}));
    EXPECT_EQ(Row(form, 11), (QStringList{"大文字で始める", "[Shift] + [Ctrl] + 2", "○"}));
    EXPECT_EQ(Selected(form), 0);
    EXPECT_EQ(form.ListView1->toolTip(), QStringLiteral("ひらがなに変換する : ひらがなに変換します"));
    EXPECT_TRUE(form.RegisteredIds().empty());
    EXPECT_FALSE(QFile::exists(TPavluneConfig().GetFileName()));  // loading writes nothing
}

TEST_F(FormMain, InsertAppendsAndSavesAndTheClashWithTheFirstEntryFailsGoingToTheTray) {
    TFormMain form(backend_);
    form.show();
    WhenModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("BtnOK")->click(); });
    form.ActionItemInsert->trigger();
    ASSERT_EQ(form.ListView1->topLevelItemCount(), 13);
    EXPECT_EQ(Row(form, 12), (QStringList{"ひらがなに変換する", "[Ctrl] + 1", "○"}));
    EXPECT_EQ(Selected(form), 12);
    EXPECT_TRUE(FileText().contains("[KEY_CONFIG_12]\r\nTASKTYPE=0\r\n"));

    MessageBoxAnswer warning;
    AnswerMessageBox(QStringLiteral("OK"), &warning);
    form.BitBtn1->click();
    Settle();
    EXPECT_TRUE(warning.shown);
    EXPECT_EQ(warning.title, QStringLiteral("警告"));
    EXPECT_EQ(warning.text, QStringLiteral("ホットキーの登録に失敗しました。"));
    EXPECT_TRUE(form.RegisteredIds().empty());
    EXPECT_TRUE(backend_.live.empty());
    EXPECT_FALSE(form.InTray());
    EXPECT_FALSE(form.isMinimized());
}

TEST_F(FormMain, UpdateReplacesTheEntryInPlaceAndCancelChangesNothing) {
    TFormMain form(backend_);
    form.ListView1->setCurrentItem(form.ListView1->topLevelItem(5));
    WhenModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("BitBtn2")->click(); });
    form.ActionItemUpdate->trigger();
    EXPECT_FALSE(QFile::exists(TPavluneConfig().GetFileName()));

    WhenModal([](QWidget* widget) {
        auto* dialog = static_cast<pavlune::TFormPavluneKeyConf*>(widget);
        dialog->ComboBoxTaskType->setCurrentIndex(3);
        dialog->ComboBoxTaskTypeChange();
        dialog->ComboBoxTarget->setCurrentIndex(2);
        dialog->BtnAlt->setChecked(true);
        dialog->BtnOK->click();
    });
    form.ActionItemUpdate->trigger();
    EXPECT_EQ(Selected(form), 5);
    EXPECT_EQ(Row(form, 5), (QStringList{"大文字に変換する", "[Ctrl] + [Alt] + 6", "○"}));
    const auto stored = Stored();
    ASSERT_EQ(stored.size(), 12u);
    EXPECT_EQ(stored[5].TaskType, 3);
    EXPECT_EQ(stored[5].Target, 2);
    EXPECT_EQ(stored[6].Caption, QStringLiteral("HTMLをエスケープする"));
}

TEST_F(FormMain, DeleteAsksFirstAndOnlyYesDeletes) {
    TFormMain form(backend_);
    form.ListView1->setCurrentItem(form.ListView1->topLevelItem(3));
    for (const QString& answer : {QStringLiteral("いいえ(&N)"), QStringLiteral("キャンセル")}) {
        MessageBoxAnswer question;
        AnswerMessageBox(answer, &question);
        form.ActionItemDelete->trigger();
        EXPECT_EQ(question.title, QStringLiteral("確認"));
        EXPECT_EQ(question.text, QStringLiteral("選択されている項目を削除します。\nよろしいですか？"));
        EXPECT_EQ(form.ListView1->topLevelItemCount(), 12);
    }
    AnswerMessageBox(QStringLiteral("はい(&Y)"));
    form.ActionItemDelete->trigger();
    EXPECT_EQ(form.ListView1->topLevelItemCount(), 11);
    EXPECT_EQ(Selected(form), 0);
    EXPECT_EQ(Row(form, 3)[0], QStringLiteral("小文字に変換する"));
    EXPECT_EQ(Stored().size(), 11u);
}

TEST_F(FormMain, RestoringTheDefaultsAlsoSwitchesStartMinimisedOff) {
    {
        TPavluneConfig config;
        config.SetKeyConfigs({});
        config.SetMinimized(true);
        config.Save();
    }
    TFormMain form(backend_);
    EXPECT_EQ(form.ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(Selected(form), -1);
    AnswerMessageBox(QStringLiteral("はい(&Y)"));
    form.ActionConfigDefault->trigger();
    EXPECT_EQ(form.ListView1->topLevelItemCount(), 12);
    EXPECT_EQ(Selected(form), -1);
    TPavluneConfig config;
    config.Load();
    EXPECT_FALSE(config.GetMinimized());
    EXPECT_EQ(config.GetKeyConfigs().size(), 12u);
}

TEST_F(FormMain, InTheTrayHotkeysConvertTheClipboardAndComingBackReleasesThem) {
    TFormMain form(backend_);
    form.show();
    QTest::keyClick(form.ListView1, Qt::Key_Return);  // OK is the window's default button
    Settle();
    ASSERT_TRUE(form.InTray());
    EXPECT_EQ(form.RegisteredIds(), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(backend_.live.at(10), std::make_pair(HotkeyBackend::ModControl | HotkeyBackend::ModShift,
                                                   std::uint16_t{0x31}));

    QClipboard* clipboard = QGuiApplication::clipboard();
    auto* rich = new QMimeData;
    rich->setHtml(QStringLiteral("<b>カタカナ</b>"));
    rich->setText(QStringLiteral("カタカナ"));
    clipboard->setMimeData(rich);
    form.WMHotKey(0);
    EXPECT_EQ(clipboard->text(), QStringLiteral("かたかな"));
    EXPECT_EQ(clipboard->mimeData()->formats(), QStringList{"text/plain"});

    form.WMHotKey(12);  // past the end of the list
    form.WMHotKey(-1);
    EXPECT_EQ(clipboard->text(), QStringLiteral("かたかな"));

    auto* picture = new QMimeData;
    picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
    clipboard->setMimeData(picture);
    form.WMHotKey(0);
    EXPECT_FALSE(clipboard->mimeData()->hasText());
    EXPECT_TRUE(clipboard->mimeData()->hasImage());

    clipboard->setText(QStringLiteral("100%"));
    EXPECT_THROW(form.WMHotKey(9), platform::Exception);  // URL unescape of a bad escape
    EXPECT_EQ(clipboard->text(), QStringLiteral("100%"));

    form.ActionConfig->trigger();
    EXPECT_FALSE(form.InTray());
    EXPECT_TRUE(form.RegisteredIds().empty());
    EXPECT_TRUE(backend_.live.empty());
    clipboard->setText(QStringLiteral("カタカナ"));
    form.WMHotKey(0);  // no longer registered
    EXPECT_EQ(clipboard->text(), QStringLiteral("カタカナ"));
}

TEST_F(FormMain, OnlyEntriesInForceAreRegisteredAndAnotherIdIsIgnored) {
    {
        TPavluneConfig config;
        config.SetDefault();
        auto entries = config.GetKeyConfigs();
        const auto& e = entries[1];
        entries[1] = pavlune::TPavluneKeyConfig(e.TaskType, e.Shift, e.Ctrl, e.Alt, e.Key, false, e.Caption, e.Target);
        config.SetKeyConfigs({entries[0], entries[1], entries[2]});
        config.Save();
    }
    TFormMain form(backend_);
    EXPECT_EQ(Row(form, 1)[2], QString());
    form.BitBtn1Click();
    Settle();
    EXPECT_EQ(form.RegisteredIds(), (std::set<int>{0, 2}));
    QGuiApplication::clipboard()->setText(QStringLiteral("ひらがな"));
    form.WMHotKey(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ひらがな"));
}

TEST_F(FormMain, ACombinationHeldElsewhereLeavesNoHotkeyLive) {
    backend_.heldElsewhere.insert({HotkeyBackend::ModControl, 0x33});
    TFormMain form(backend_);
    AnswerMessageBox(QStringLiteral("OK"));
    form.BitBtn1Click();
    Settle();
    EXPECT_EQ(backend_.asked, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(backend_.live.empty());
    EXPECT_FALSE(form.InTray());
}

TEST_F(FormMain, WithoutATrayTheWindowStaysIconifiedAndRestoringItReleasesTheHotkeys) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // the offscreen platform has none
    TFormMain form(backend_);
    form.show();
    form.setWindowState(Qt::WindowMinimized);  // the title bar's button
    Settle();
    ASSERT_TRUE(form.InTray());
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(backend_.live.size(), 12u);
    form.setWindowState(Qt::WindowNoState);  // the window manager restores it
    Settle();
    EXPECT_FALSE(form.InTray());
    EXPECT_TRUE(backend_.live.empty());
}

// Shown while still minimised, an X11 window is mapped iconic and the server's later report of that
// state minimises it again: the window flashes up and goes straight back to the tray.
TEST_F(FormMain, ComingBackFromTheTrayShowsTheWindowAlreadyRestored) {
    struct StateWhenShown : QObject {
        std::vector<bool> minimised;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Show)
                minimised.push_back(static_cast<QWidget*>(watched)->isMinimized());
            return false;
        }
    } shown;
    TFormMain form(backend_);
    form.show();
    form.BitBtn1Click();
    Settle();
    ASSERT_TRUE(form.InTray());
    form.hide();  // where there is a tray, the minimised window is hidden; the offscreen platform has none
    form.installEventFilter(&shown);
    form.ActionConfig->trigger();
    Settle();
    EXPECT_EQ(shown.minimised, std::vector<bool>{false});
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());
    EXPECT_FALSE(form.InTray());
}

TEST_F(FormMain, StartMinimisedGoesToTheTrayAtTheFirstIdleMoment) {
    {
        TPavluneConfig config;
        config.SetDefault();
        config.SetMinimized(true);
        config.Save();
    }
    TFormMain form(backend_);
    form.show();
    Settle();
    EXPECT_TRUE(form.InTray());
    EXPECT_EQ(form.RegisteredIds().size(), 12u);
}

TEST_F(FormMain, DestroyingTheWindowReleasesTheHotkeys) {
    {
        TFormMain form(backend_);
        form.BitBtn1Click();
        Settle();
        ASSERT_EQ(backend_.live.size(), 12u);
    }
    EXPECT_TRUE(backend_.live.empty());
}

}  // namespace
