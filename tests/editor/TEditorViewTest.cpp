// The control as drawn on a real X server (run under Xvfb): Japanese glyphs, the marks and
// the wrapped rows land where they belong. Leaves editor-view.png in the working folder.
#include "editor/TEditor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include <functional>
#include <memory>

using namespace editor;

namespace {

// One application for the whole run, gone before static destruction begins.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[32] = "editor_view_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

int CountPixels(const QImage& image, QRect area, const std::function<bool(QColor)>& match)
{
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

bool Red(QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
bool Green(QColor c) { return c.green() > 150 && c.red() < 90 && c.blue() < 90; }
bool Blue(QColor c) { return c.blue() > 180 && c.red() < 90 && c.green() < 90; }
bool Magenta(QColor c) { return c.red() > 180 && c.blue() > 180 && c.green() < 90; }
bool Dark(QColor c) { return c.lightness() < 100; }

}  // namespace

TEST(TEditorViewTest, JapaneseTextMarksAndWrappedRowsAreDrawn)
{
    TEditor editor;
    TEditorProp prop;
    prop.Caret.FreeCaret = false;
    prop.WordWrap = true;
    prop.WrapOption.WrapByte = 20;
    prop.Leftbar.Visible = true;
    prop.Ruler.Visible = true;
    prop.Marks.RetMark = TEditorMark{true, 0xFF0000};
    prop.Marks.EofMark = TEditorMark{true, 0x00C000};
    prop.Marks.WrapMark = TEditorMark{true, 0x0000FF};
    prop.Marks.Underline = TEditorMark{true, 0xFF00FF};
    editor.Assign(prop);
    editor.Lines().SetText(QStringLiteral(u"あいうえおかきくけこさしすせそ\r\n漢字\r\nend"));
    editor.resize(640, 300);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    // Row bands: line 0 takes two rows, then line 1, then line 2.
    editor.SetSelStart(0);
    const QRect first = editor.CaretRect();
    editor.SetSelStart(2);
    const QRect afterTwo = editor.CaretRect();
    const int cell = (afterTwo.left() - first.left()) / 4;
    ASSERT_GT(cell, 2);
    editor.SetSelStart(EditorDocument::InsertedLength(QStringLiteral(u"あいうえおかきくけこさしすせそ\r\n漢字\r\n")));
    QApplication::processEvents();
    const QImage image = editor.viewport()->grab().toImage();
    image.save(QStringLiteral("editor-view.png"));

    const int height = first.height();
    const auto band = [&](int row) {
        return QRect(first.left(), first.top() + row * height, image.width() - first.left(), height - 2);
    };
    EXPECT_GT(CountPixels(image, band(0), Blue), 0) << "wrap mark after the first row";
    EXPECT_EQ(CountPixels(image, band(1), Blue), 0);
    EXPECT_EQ(CountPixels(image, band(0), Red), 0);
    EXPECT_GT(CountPixels(image, band(1), Red), 0) << "return mark after the wrapped line";
    EXPECT_GT(CountPixels(image, band(2), Red), 0) << "return mark after 漢字";
    EXPECT_EQ(CountPixels(image, band(3), Red), 0);
    EXPECT_GT(CountPixels(image, band(3), Green), 0) << "[EOF] after the last line";
    EXPECT_GT(CountPixels(image, QRect(0, first.top() + 4 * height - 2, image.width(), 2), Magenta), 0)
        << "underline of the caret's row";

    // Each full-width character fills two cells: the wrapped row holds ten of them.
    const QRect tenthCell(first.left() + 18 * cell, first.top(), 2 * cell, height - 2);
    const QRect beyond(first.left() + 20 * cell + cell / 2, first.top() + height, 4 * cell, height - 2);
    EXPECT_GT(CountPixels(image, tenthCell, Dark), 0);
    EXPECT_EQ(CountPixels(image, beyond, Dark), 0);

    // Real glyphs, not one box shape for every kana.
    const QImage a = image.copy(first.left(), first.top(), 2 * cell, height);
    const QImage i = image.copy(first.left() + 2 * cell, first.top(), 2 * cell, height);
    EXPECT_GT(CountPixels(a, a.rect(), Dark), 0);
    EXPECT_NE(a, i);
}

TEST(TEditorViewTest, HideMarkFollowsTheThousandthCharacter)
{
    TEditor editor;
    TEditorProp prop;
    prop.Marks.HideMark = TEditorMark{true, 0x00FFFF};
    editor.Assign(prop);
    editor.Lines().SetText(QString(1000, u'x') + QStringLiteral("yyyy"));
    editor.resize(640, 200);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    editor.SetSelStart(1000);  // scrolls the 1000th character into view
    QApplication::processEvents();
    const QRect caret = editor.CaretRect();
    const QImage image = editor.viewport()->grab().toImage();
    const auto cyan = [](QColor c) { return c.green() > 200 && c.blue() > 200 && c.red() < 60; };
    EXPECT_GT(CountPixels(image, QRect(caret.left() - 3, caret.top(), 6, caret.height()), cyan), 0);
    EXPECT_EQ(CountPixels(image, QRect(0, caret.top(), caret.left() - 4, caret.height()), cyan), 0);
    // The rest of the line is still drawn.
    EXPECT_GT(CountPixels(image, QRect(caret.left() + 3, caret.top(), 40, caret.height()), Dark), 0);
}
