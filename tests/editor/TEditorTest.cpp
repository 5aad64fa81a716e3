#include "editor/TEditor.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

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

TEST_F(TEditorTest, InputMethodDrawsPreeditAndCommitsText)
{
    editor->Lines().SetText(QStringLiteral("ab"));
    editor->SetSelStart(1);
    QInputMethodEvent preedit(QStringLiteral(u"にほん"), {});
    QApplication::sendEvent(editor.get(), &preedit);
    EXPECT_EQ(editor->PreeditText(), QStringLiteral(u"にほん"));
    EXPECT_EQ(Text(), QStringLiteral("ab"));
    const QRectF caret = editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    EXPECT_FALSE(caret.isEmpty());
    EXPECT_GT(caret.left(), editor->viewport()->pos().x());
    EXPECT_EQ(editor->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("ab"));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral(u"日本"));
    QApplication::sendEvent(editor.get(), &commit);
    EXPECT_EQ(Text(), QStringLiteral(u"a日本b"));
    EXPECT_TRUE(editor->PreeditText().isEmpty());
    EXPECT_GT(editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF().left(), caret.left());
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
