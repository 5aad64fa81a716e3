#include "editor/EditorCore.h"

#include <gtest/gtest.h>

using namespace editor;

namespace {

// A core with text and options; "|" in the text marks the caret.
struct Fixture {
    EditorCore core;
    explicit Fixture(const QString& textWithCaret, TEditorCaret options = TEditorCaret{})
    {
        core.SetCaretOptions(options);
        QString text = textWithCaret;
        const qsizetype bar = text.indexOf(u'|');
        text.remove(u'|');
        core.Document().SetText(text);
        if (bar >= 0)
            core.SetSelStart(EditorDocument::InsertedLength(textWithCaret.left(bar)));
    }
    QString Text() const { return core.Document().Text(); }
    // The text with "|" at the caret.
    QString WithCaret() const
    {
        const TextPos caret = core.Caret();
        QString text = core.Document()[caret.line];
        text.insert(caret.col, u'|');
        return text;
    }
};

TEditorCaret Options(void (*change)(TEditorCaret&))
{
    TEditorCaret options;
    change(options);
    return options;
}

}  // namespace

TEST(EditorCoreTest, ReplaceSelReturnsTheInsertedLengthAndIsOneUndoStep)
{
    Fixture f(QStringLiteral("ab\r\ncd"));
    f.core.SetSelStart(1);
    f.core.SetSelLength(4);
    EXPECT_EQ(f.core.SelText(), QStringLiteral("b\r\nc"));
    const qsizetype inserted = f.core.ReplaceSel(QStringLiteral("X\nY"));
    EXPECT_EQ(inserted, 4);
    EXPECT_EQ(f.Text(), QStringLiteral("aX\r\nYd"));
    f.core.SetSelStart(1);
    f.core.SetSelLength(inserted);
    EXPECT_EQ(f.core.SelText(), QStringLiteral("X\r\nY"));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("ab\r\ncd"));
    EXPECT_FALSE(f.core.CanUndo());
}

TEST(EditorCoreTest, ReadOnlyIgnoresEditsAndReturnsZero)
{
    Fixture f(QStringLiteral("abc"));
    f.core.SetReadOnly(true);
    f.core.SelectAll();
    EXPECT_EQ(f.core.ReplaceSel(QStringLiteral("x")), 0);
    f.core.TypeText(QStringLiteral("y"));
    f.core.KeyEnter();
    f.core.ClearSelection();
    f.core.DeleteRow(0);
    EXPECT_EQ(f.Text(), QStringLiteral("abc"));
    EXPECT_FALSE(f.core.Document().Modified());
}

TEST(EditorCoreTest, SelectionEndsSnapOutOfPairs)
{
    Fixture f(QStringLiteral(u"a𠮷\r\nb"));
    f.core.SetSelStart(2);  // inside the surrogate pair
    EXPECT_EQ(f.core.SelStart(), 1);
    f.core.SetSelLength(3);  // would end inside CR LF
    EXPECT_EQ(f.core.SelText(), QStringLiteral(u"𠮷"));
}

TEST(EditorCoreTest, TypingRunIsOneUndoStepUntilTheCaretMoves)
{
    Fixture f(QStringLiteral("|"));
    for (const char* key : {"a", "b", "c"})
        f.core.TypeText(QString::fromLatin1(key));
    f.core.KeyEnter();
    f.core.TypeText(QStringLiteral("d"));
    f.core.MoveCaret(CaretMove::Left, false);
    f.core.TypeText(QStringLiteral("e"));
    EXPECT_EQ(f.Text(), QStringLiteral("abc\r\ned"));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("abc\r\nd"));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QString());
}

TEST(EditorCoreTest, IndentOperationsTouchEverySelectedLineAsOneStep)
{
    Fixture f(QStringLiteral(" one\r\n\ttwo\r\nthree"));
    f.core.Select(TextPos{0, 2}, TextPos{2, 0});  // the third line is not touched
    f.core.SelIndent();
    EXPECT_EQ(f.Text(), QStringLiteral("  one\r\n \ttwo\r\nthree"));
    EXPECT_EQ(f.core.SelText(), QStringLiteral("ne\r\n \ttwo\r\n"));
    f.core.SelUnIndent();
    f.core.SelUnIndent();
    EXPECT_EQ(f.Text(), QStringLiteral("one\r\n\ttwo\r\nthree"));
    f.core.SelTabUnIndent();
    EXPECT_EQ(f.Text(), QStringLiteral("one\r\ntwo\r\nthree"));
    f.core.SelectAll();
    f.core.SelTabIndent();
    EXPECT_EQ(f.Text(), QStringLiteral("\tone\r\n\ttwo\r\n\tthree"));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("one\r\ntwo\r\nthree"));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("one\r\n\ttwo\r\nthree"));
}

TEST(EditorCoreTest, DeleteRowRemovesTheLineWithItsBreak)
{
    Fixture f(QStringLiteral("a\r\nb\r\nc"));
    f.core.DeleteRow(1);
    EXPECT_EQ(f.Text(), QStringLiteral("a\r\nc"));
    f.core.DeleteRow(1);
    EXPECT_EQ(f.Text(), QStringLiteral("a"));
    f.core.DeleteRow(0);
    EXPECT_EQ(f.Text(), QString());
    f.core.Undo();
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("a\r\nc"));
}

TEST(EditorCoreTest, EnterIndentsAsTheOptionsSay)
{
    const struct {
        const char* name;
        QString before;
        TEditorCaret options;
        QString newLine;  // the new line with the caret
    } cases[] = {
        {"auto indent copies spaces, full-width spaces and tabs", QStringLiteral(u"  \t　x|"), TEditorCaret{},
         QStringLiteral(u"  \t　|")},
        {"no auto indent", QStringLiteral("  x|"), Options([](TEditorCaret& o) { o.AutoIndent = false; }), "|"},
        {"tab indent turns spaces into tabs and keeps full-width ones",
         QStringLiteral(u"     　   x|"),
         Options([](TEditorCaret& o) {
             o.TabIndent = true;
             o.TabSpaceCount = 4;
         }),
         QStringLiteral(u"\t 　   |")},
        {"previous line's indent on a blank line", QStringLiteral(u"  　a\r\n|"),
         Options([](TEditorCaret& o) { o.PrevSpaceIndent = true; }), QStringLiteral("    |")},
        {"a blank line without the option", QStringLiteral(u"  　a\r\n|"), TEditorCaret{}, "|"},
        {"indent stops at the caret", QStringLiteral("  | x"), TEditorCaret{}, QStringLiteral("  | x")},
    };
    for (const auto& c : cases) {
        Fixture f(c.before, c.options);
        f.core.KeyEnter();
        EXPECT_EQ(f.WithCaret(), c.newLine) << c.name;
    }
}

TEST(EditorCoreTest, BackspaceUnindentGoesToTheIndentAbove)
{
    const QString text = QStringLiteral("a\r\n  b\r\n\r\n      c\r\n      |d");
    Fixture f(text);
    f.core.KeyBackspace();
    EXPECT_EQ(f.WithCaret(), QStringLiteral("  |d"));
    f.core.KeyBackspace();
    EXPECT_EQ(f.WithCaret(), QStringLiteral("|d"));
    Fixture off(text, Options([](TEditorCaret& o) { o.BackSpaceUnIndent = false; }));
    off.core.KeyBackspace();
    EXPECT_EQ(off.WithCaret(), QStringLiteral("     |d"));
}

TEST(EditorCoreTest, FreeCaretFillsWithSpacesWhenTyping)
{
    Fixture f(QStringLiteral("ab|\r\nlonger line"));
    f.core.MoveCaret(CaretMove::Right, false);
    f.core.MoveCaret(CaretMove::Right, false);
    EXPECT_EQ(f.core.CaretX(), 4);
    f.core.TypeText(QStringLiteral("x"));
    EXPECT_EQ(f.WithCaret(), QStringLiteral("ab  x|"));
    f.core.Undo();
    EXPECT_EQ(f.core.Document()[0], QStringLiteral("ab"));
}

TEST(EditorCoreTest, VerticalMovesFollowFreeRowAndKeepCaret)
{
    const QString text = QStringLiteral("0123456789|\r\nab\r\n0123456789");
    const struct {
        const char* name;
        TEditorCaret options;
        int xOnShort;
        int xAfter;
        int colOnShort;
    } cases[] = {
        {"plain", Options([](TEditorCaret& o) { o.FreeCaret = false; }), 2, 2, 2},
        {"keep caret", Options([](TEditorCaret& o) {
             o.FreeCaret = false;
             o.KeepCaret = true;
         }),
         2, 10, 2},
        {"free row", Options([](TEditorCaret& o) {
             o.FreeCaret = false;
             o.FreeRow = true;
         }),
         10, 10, 2},
        {"free caret", TEditorCaret{}, 10, 10, 2},
    };
    for (const auto& c : cases) {
        Fixture f(text, c.options);
        f.core.MoveCaret(CaretMove::Down, false);
        EXPECT_EQ(f.core.CaretX(), c.xOnShort) << c.name;
        EXPECT_EQ(f.core.Caret().col, c.colOnShort) << c.name;
        f.core.MoveCaret(CaretMove::Down, false);
        EXPECT_EQ(f.core.CaretX(), c.xAfter) << c.name;
    }
    // With free row any other move puts the caret back within the line.
    Fixture f(text, Options([](TEditorCaret& o) {
        o.FreeCaret = false;
        o.FreeRow = true;
    }));
    f.core.MoveCaret(CaretMove::Down, false);
    f.core.MoveCaret(CaretMove::Left, false);
    EXPECT_EQ(f.WithCaret(), QStringLiteral("a|b"));
}

TEST(EditorCoreTest, NextLineLetsLeftAndRightCrossLineEnds)
{
    TEditorCaret on;
    on.FreeCaret = false;
    on.NextLine = true;
    Fixture f(QStringLiteral("ab|\r\ncd"), on);
    f.core.MoveCaret(CaretMove::Right, false);
    EXPECT_EQ(f.core.Caret(), (TextPos{1, 0}));
    f.core.MoveCaret(CaretMove::Left, false);
    EXPECT_EQ(f.core.Caret(), (TextPos{0, 2}));
    on.NextLine = false;
    f.core.SetCaretOptions(on);
    f.core.MoveCaret(CaretMove::Right, false);
    EXPECT_EQ(f.core.Caret(), (TextPos{0, 2}));
}

TEST(EditorCoreTest, InTabLetsTheCaretStandInsideATab)
{
    TEditorCaret options;
    options.TabSpaceCount = 4;
    Fixture off(QStringLiteral("|\tx"), options);
    off.core.MoveCaret(CaretMove::Right, false);
    EXPECT_EQ(off.core.CaretX(), 4);

    options.InTab = true;
    Fixture on(QStringLiteral("|\tx"), options);
    on.core.MoveCaret(CaretMove::Right, false);
    on.core.MoveCaret(CaretMove::Right, false);
    EXPECT_EQ(on.core.CaretX(), 2);
    on.core.TypeText(QStringLiteral("y"));
    EXPECT_EQ(on.WithCaret(), QStringLiteral("  y|  x"));
}

TEST(EditorCoreTest, SoftTabInsertsSpacesToTheNextStop)
{
    TEditorCaret options;
    options.SoftTab = true;
    options.TabSpaceCount = 4;
    Fixture f(QStringLiteral(u"あ|"), options);
    f.core.KeyTab();
    EXPECT_EQ(f.WithCaret(), QStringLiteral(u"あ  |"));
    options.SoftTab = false;
    f.core.SetCaretOptions(options);
    f.core.KeyTab();
    EXPECT_EQ(f.WithCaret(), QStringLiteral(u"あ  \t|"));
}

TEST(EditorCoreTest, OverwriteReplacesCharactersWithinTheLine)
{
    Fixture f(QStringLiteral(u"a|bあ\r\nz"));
    f.core.SetOverwrite(true);
    f.core.TypeText(QStringLiteral("XYZW"));
    EXPECT_EQ(f.Text(), QStringLiteral("aXYZW\r\nz"));
}

TEST(EditorCoreTest, BoundsOfTabAndWrapWidth)
{
    const std::pair<int, int> tabs[] = {{0, 2}, {1, 2}, {3, 2}, {5, 4}, {7, 6}, {8, 8}, {100, 8}};
    for (const auto& [in, out] : tabs)
        EXPECT_EQ(BoundTabSpaceCount(in), out) << in;
    const std::pair<int, int> wraps[] = {{10, 20}, {20, 20}, {80, 80}, {250, 250}, {999, 250}};
    for (const auto& [in, out] : wraps)
        EXPECT_EQ(BoundWrapByte(in), out) << in;
    EditorCore core;
    TEditorWrapOption option;
    option.WrapByte = 5;
    core.SetWrapOption(option);
    EXPECT_EQ(core.WrapOption().WrapByte, 20);
}

TEST(EditorCoreTest, UpAndDownWalkWrappedRows)
{
    EditorCore core;
    TEditorCaret options;
    options.FreeCaret = false;
    core.SetCaretOptions(options);
    core.SetWordWrap(true);
    TEditorWrapOption wrap;
    wrap.WrapByte = 20;
    core.SetWrapOption(wrap);
    core.Document().SetText(QString(30, u'x') + QStringLiteral("\r\nshort"));
    core.SetCaret(TextPos{0, 3});
    core.MoveCaret(CaretMove::Down, false);
    EXPECT_EQ(core.Caret(), (TextPos{0, 23}));
    core.MoveCaret(CaretMove::Down, false);
    EXPECT_EQ(core.Caret(), (TextPos{1, 3}));
    core.MoveCaret(CaretMove::Home, false);
    core.MoveCaret(CaretMove::Up, false);
    EXPECT_EQ(core.Caret(), (TextPos{0, 20}));
    core.MoveCaret(CaretMove::Home, false);
    EXPECT_EQ(core.Caret(), (TextPos{0, 20}));
}

TEST(EditorCoreTest, WordMovesAndDoubleClickUseCharacterClasses)
{
    Fixture f(QStringLiteral(u"|漢字かなカナ abc"));
    f.core.MoveCaret(CaretMove::WordRight, false);
    EXPECT_EQ(f.WithCaret(), QStringLiteral(u"漢字|かなカナ abc"));
    f.core.MoveCaret(CaretMove::WordRight, false);
    f.core.MoveCaret(CaretMove::WordRight, false);
    EXPECT_EQ(f.WithCaret(), QStringLiteral(u"漢字かなカナ |abc"));
    f.core.SelectWordAt(TextPos{0, 3});
    EXPECT_EQ(f.core.SelText(), QStringLiteral(u"かな"));
}

TEST(EditorCoreTest, DraggingASelectionMovesIt)
{
    Fixture f(QStringLiteral("one two three"));
    f.core.Select(TextPos{0, 0}, TextPos{0, 4});
    f.core.MoveSelectionTo(TextPos{0, 13});
    EXPECT_EQ(f.Text(), QStringLiteral("two threeone "));
    EXPECT_EQ(f.core.SelText(), QStringLiteral("one "));
    f.core.Undo();
    EXPECT_EQ(f.Text(), QStringLiteral("one two three"));
}

TEST(EditorCoreTest, TextReplacedFromOutsideKeepsTheCaretInside)
{
    Fixture f(QStringLiteral("one\r\ntwo\r\nthree|"));
    f.core.Document().SetText(QStringLiteral("x"));
    EXPECT_EQ(f.core.Caret(), (TextPos{0, 1}));
    EXPECT_EQ(f.core.CaretRow(), (RowRef{0, 0}));
}

TEST(EditorCoreTest, PointerPicksTheNearestCellBoundary)
{
    EditorCore core;
    core.Document().SetText(QStringLiteral(u"aあb"));
    const struct {
        double x;
        int col;
        int extra;
    } cases[] = {{0.4, 0, 0}, {0.6, 1, 0}, {1.9, 1, 0}, {2.1, 2, 0}, {3.4, 2, 0}, {3.6, 3, 0}, {4.4, 3, 0}, {6.6, 3, 3}};
    for (const auto& c : cases) {
        int extra = -1;
        EXPECT_EQ(core.PosNearX(RowRef{0, 0}, c.x, &extra, true).col, c.col) << c.x;
        EXPECT_EQ(extra, c.extra) << c.x;
    }
}
