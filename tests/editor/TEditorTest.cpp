#include "editor/TEditor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextCharFormat>

#include <memory>

using namespace editor;

namespace {

// One application for the whole run, gone before static destruction begins.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[32] = "editor_widget_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class TEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = std::make_unique<TEditor>();
        editor->resize(600, 400);
        editor->show();
        editor->setFocus();
    }
    QString Text() const { return editor->Lines().Text(); }
    std::unique_ptr<TEditor> editor;
};

}  // namespace

TEST_F(TEditorTest, KeysEditMoveAndSelect)
{
    QTest::keyClicks(editor.get(), QStringLiteral("  abc"));
    QTest::keyClick(editor.get(), Qt::Key_Return);
    QTest::keyClicks(editor.get(), QStringLiteral("de"));
    EXPECT_EQ(Text(), QStringLiteral("  abc\r\n  de"));
    QTest::keyClick(editor.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(editor.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(editor->SelText(), QStringLiteral("de"));
    QTest::keyClick(editor.get(), Qt::Key_Tab);
    EXPECT_EQ(Text(), QStringLiteral("  abc\r\n  \t"));
    QTest::keyClick(editor.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(editor->SelStart(), 0);
    QTest::keyClick(editor.get(), Qt::Key_Insert);
    QTest::keyClicks(editor.get(), QStringLiteral("XY"));
    EXPECT_EQ(editor->Lines()[0], QStringLiteral("XYabc"));
    QTest::keyClick(editor.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(editor->Row(), 1);
    QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->Lines()[0], QStringLiteral("  abc"));
    EXPECT_TRUE(editor->Modified());
}

TEST_F(TEditorTest, PreeditPushesTheFollowingTextAsideUntilCommitted)
{
    editor->Lines().SetText(QStringLiteral("abc\r\nxyz"));
    editor->SetSelStart(0);
    const QRect origin = editor->CaretRect();
    editor->SetSelStart(1);
    const QRectF before = editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    const int cell = editor->CaretRect().left() - origin.left();  // "a" takes one cell
    ASSERT_GT(cell, 2);
    const auto cursorCells = [&] {
        const QRectF rect = editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
        EXPECT_EQ(rect.top(), before.top());
        return (rect.left() - before.left()) / cell;
    };

    // Composing "にほん" with the input method's cursor after "にほ" and "ほ" as the clause it converts.
    QTextCharFormat clause;
    clause.setBackground(Qt::red);
    QInputMethodEvent preedit(QStringLiteral(u"にほん"), {{QInputMethodEvent::Cursor, 2, 1, {}},
                                                        {QInputMethodEvent::TextFormat, 1, 1, clause}});
    QApplication::sendEvent(editor.get(), &preedit);
    EXPECT_EQ(editor->PreeditText(), QStringLiteral(u"にほん"));
    EXPECT_EQ(Text(), QStringLiteral("abc\r\nxyz"));
    EXPECT_EQ(editor->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("abc"));
    EXPECT_EQ(cursorCells(), 4);

    const QImage image = editor->viewport()->grab().toImage();
    const auto count = [&](int firstCell, int cells, const auto& match) {
        int found = 0;
        const QRect area(origin.left() + firstCell * cell, origin.top(), cells * cell, origin.height() - 3);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                found += match(image.pixelColor(x, y)) ? 1 : 0;
        return found;
    };
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    const auto ink = [](QColor c) { return c.lightness() < 128; };
    EXPECT_EQ(count(1, 2, red), 0);
    EXPECT_GT(count(3, 2, red), 0) << "the converted clause in the input method's colour";
    EXPECT_GT(count(7, 2, ink), 0) << "\"bc\" moved past the preedit";
    EXPECT_EQ(count(9, 4, ink), 0);

    QInputMethodEvent atEnd(QStringLiteral(u"にほん"), {});
    QApplication::sendEvent(editor.get(), &atEnd);
    EXPECT_EQ(cursorCells(), 6);

    // Each commit is an undo step of its own, apart from the typing after it.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"日本"));
    QApplication::sendEvent(editor.get(), &commit);
    EXPECT_EQ(Text(), QStringLiteral(u"a日本bc\r\nxyz"));
    EXPECT_TRUE(editor->PreeditText().isEmpty());
    EXPECT_EQ(cursorCells(), 4);
    QInputMethodEvent next;
    next.setCommitString(QStringLiteral(u"語"));
    QApplication::sendEvent(editor.get(), &next);
    QTest::keyClicks(editor.get(), QStringLiteral("s"));
    EXPECT_EQ(editor->Lines()[0], QStringLiteral(u"a日本語sbc"));
    for (const QString& expected : {QStringLiteral(u"a日本語bc"), QStringLiteral(u"a日本bc"), QStringLiteral("abc")}) {
        editor->Undo();
        EXPECT_EQ(editor->Lines()[0], expected);
    }
}

TEST_F(TEditorTest, CaretBlinksOnlyWhileFocusedAndShowsAgainOnKeys)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(200);
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    editor->setFocus();
    ASSERT_TRUE(editor->hasFocus());
    editor->Lines().SetText(QStringLiteral("abc"));
    editor->SetSelStart(1);
    const auto drawn = [&] { return editor->viewport()->grab().toImage(); };
    const QImage shown = drawn();

    QImage hidden;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (hidden = drawn()) != shown; }, 2000));
    QTest::keyClick(editor.get(), Qt::Key_Right);
    QTest::keyClick(editor.get(), Qt::Key_Left);
    EXPECT_EQ(drawn(), shown) << "a key shows the caret at once";
    EXPECT_TRUE(QTest::qWaitFor([&] { return drawn() == hidden; }, 2000)) << "and blinking goes on";

    editor->clearFocus();
    EXPECT_EQ(drawn(), hidden);
    editor->setFocus();
    EXPECT_EQ(drawn(), shown);

    QApplication::setCursorFlashTime(0);
    QTest::keyClick(editor.get(), Qt::Key_Right);
    QTest::keyClick(editor.get(), Qt::Key_Left);
    QTest::qWait(300);
    EXPECT_EQ(drawn(), shown) << "a flash time of 0 keeps the caret steady";
    QApplication::setCursorFlashTime(flashTime);
}

TEST_F(TEditorTest, ContextMenuOffersTheEditCommands)
{
    editor->Lines().SetText(QStringLiteral(u"一行目\r\n二行目"));
    std::unique_ptr<QMenu> menu(editor->CreateContextMenu());
    QStringList captions;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral(u"元に戻す"), QStringLiteral(u"やり直し"), QStringLiteral(u"切り取り"),
                                     QStringLiteral(u"コピー"), QStringLiteral(u"貼り付け"), QStringLiteral(u"削除"),
                                     QStringLiteral(u"すべて選択")}));
    EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("MenuCopy"))->isEnabled());
    menu->findChild<QAction*>(QStringLiteral("MenuSelectAll"))->trigger();

    menu.reset(editor->CreateContextMenu());
    ASSERT_TRUE(menu->findChild<QAction*>(QStringLiteral("MenuCopy"))->isEnabled());
    menu->findChild<QAction*>(QStringLiteral("MenuCopy"))->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral(u"一行目\r\n二行目"));
    menu->findChild<QAction*>(QStringLiteral("MenuDelete"))->trigger();
    EXPECT_EQ(Text(), QString());

    menu.reset(editor->CreateContextMenu());
    menu->findChild<QAction*>(QStringLiteral("MenuUndo"))->trigger();
    EXPECT_EQ(Text(), QStringLiteral(u"一行目\r\n二行目"));
    editor->SetReadOnly(true);
    menu.reset(editor->CreateContextMenu());
    EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("MenuPaste"))->isEnabled());
    EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("MenuDelete"))->isEnabled());
}

TEST_F(TEditorTest, ClickPlacesTheCaretInFixedPitchCells)
{
    TEditorProp prop;
    prop.Caret.FreeCaret = false;
    editor->Assign(prop);
    editor->Lines().SetText(QStringLiteral(u"あいうえお\r\nabc"));
    editor->SetSelStart(0);
    const QRect origin = editor->CaretRect();
    editor->SetSelStart(2);  // after "あい": four cells
    const QRect afterTwo = editor->CaretRect();
    editor->SetSelStart(0);
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, afterTwo.center() + QPoint(1, 0));
    EXPECT_EQ(editor->SelStart(), 2);
    const int cell = (afterTwo.left() - origin.left()) / 4;
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, {}, QPoint(origin.left() + cell * 20, origin.center().y() + origin.height()));
    EXPECT_EQ(editor->Core().Caret(), (TextPos{1, 3}));
}

TEST_F(TEditorTest, ScrollingOneLineAndLockScroll)
{
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QString::number(i);
    editor->Lines().SetText(lines.join(u'\n'));
    editor->SetSelStart(0);
    editor->ScrollLines(3);
    EXPECT_EQ(editor->TopRow().line, 3);
    EXPECT_EQ(editor->Row(), 0);
    editor->ScrollLines(-1);
    EXPECT_EQ(editor->TopRow().line, 2);

    TEditorCaret caret = editor->Caret();
    caret.LockScroll = true;
    editor->SetCaret(caret);
    editor->ScrollLines(10);
    EXPECT_GE(editor->TopRow().line, 10);
    EXPECT_EQ(editor->Row(), editor->TopRow().line);
    editor->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GE(editor->Row(), editor->TopRow().line);
}

TEST_F(TEditorTest, AssignBoundsThePropertiesAndHandsThemBack)
{
    TEditorProp prop;
    prop.Caret.TabSpaceCount = 5;
    prop.WrapOption.WrapByte = 999;
    prop.WordWrap = true;
    prop.Leftbar.Visible = true;
    editor->Assign(prop);
    TEditorProp back;
    editor->AssignTo(back);
    EXPECT_EQ(back.Caret.TabSpaceCount, 4);
    EXPECT_EQ(back.WrapOption.WrapByte, 250);
    EXPECT_TRUE(back.WordWrap);
    EXPECT_TRUE(back.Leftbar.Visible);
    QFont font = editor->Font();
    font.setPointSize(15);
    editor->SetFont(font);
    editor->AssignTo(back);
    EXPECT_EQ(back.Font.Size, 15);
}
