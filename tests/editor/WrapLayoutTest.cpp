#include "editor/CellWidth.h"
#include "editor/WrapLayout.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace editor;

TEST(CellWidthTest, CountsWindows31JBytesThenEastAsianWidth)
{
    const struct {
        char32_t cp;
        int cells;
    } cases[] = {
        {U'A', 1},      {0xFF71, 1} /* ｱ */, {0x3042, 2} /* あ */, {0x6F22, 2} /* 漢 */,
        {0xFF21, 2} /* Ａ */, {0x03B1, 2} /* α */, {0x0416, 2} /* Ж */, {0x266A, 2} /* ♪ */,
        {0x00E9, 1} /* é, not in Windows-31J, ambiguous width */, {0xAC00, 2} /* 가, wide */,
        {0x0301, 0} /* combining acute */, {0x200B, 0} /* zero width space */, {0x20BB7, 2} /* 𠮷 */,
    };
    for (const auto& c : cases)
        EXPECT_EQ(CellWidth(c.cp), c.cells) << std::hex << static_cast<unsigned>(c.cp);
}

TEST(CellWidthTest, TabsRunToTheNextStop)
{
    EXPECT_EQ(CellsOf(QStringLiteral("ab\tc"), 0, 4, 0, 4), 5);
    EXPECT_EQ(CellsOf(QStringLiteral("\t"), 0, 1, 3, 4), 1);
    EXPECT_EQ(CellsOf(QStringLiteral(u"あ\t"), 0, 2, 0, 8), 8);
}

namespace {

struct WrapCase {
    const char* name;
    QString line;
    int width;
    bool followPunctuation;
    bool leading;
    bool wordBreak;
    bool followRetMark;
    QStringList rows;  // a row ending in "|" hangs its last character
    bool noFollowStr = false;
};

QStringList RowTexts(const QString& line, const std::vector<WrapRow>& rows)
{
    QStringList texts;
    for (const WrapRow& row : rows)
        texts.append(line.mid(row.start, row.end - row.start) + (row.hangs ? QStringLiteral("|") : QString()));
    return texts;
}

}  // namespace

TEST(WrapLayoutTest, JapaneseLineBreakingRules)
{
    const QString ten = QStringLiteral(u"あいうえおかきくけこ");  // 20 cells
    const WrapCase cases[] = {
        {"plain break at the width", ten + QStringLiteral(u"さしす"), 20, false, false, false, false, {ten, QStringLiteral(u"さしす")}},
        {"punctuation hangs", ten + QStringLiteral(u"。さし"), 20, true, false, false, false, {ten + QStringLiteral(u"。|"), QStringLiteral(u"さし")}},
        {"punctuation hangs even with leading", ten + QStringLiteral(u"。さし"), 20, true, true, false, false, {ten + QStringLiteral(u"。|"), QStringLiteral(u"さし")}},
        {"follow char hangs without leading (oikomi)", ten + QStringLiteral(u"ーさ"), 20, false, false, false, false, {ten + QStringLiteral(u"ー|"), QStringLiteral(u"さ")}},
        {"leading pushes the previous char down (oidashi)", ten + QStringLiteral(u"ーさ"), 20, false, true, false, false,
         {QStringLiteral(u"あいうえおかきくけ"), QStringLiteral(u"こーさ")}},
        {"punctuation without its option follows the follow rule", ten + QStringLiteral(u"。さ"), 20, false, true, false, false,
         {QStringLiteral(u"あいうえおかきくけ"), QStringLiteral(u"こ。さ")}},
        {"lead char moves to the next row", QStringLiteral(u"あいうえおかきくけ「こさ"), 20, false, false, false, false,
         {QStringLiteral(u"あいうえおかきくけ"), QStringLiteral(u"「こさ")}},
        {"follow char at the cut hangs", ten + QStringLiteral(u"）"), 20, false, false, false, false, {ten + QStringLiteral(u"）|"), ""}},
        {"an empty follow set breaks plainly", ten + QStringLiteral(u"）"), 20, false, false, false, false, {ten, QStringLiteral(u"）")}, true},
        {"word moves whole", "aaaa bbbbbbbbbb cccccccc", 20, false, false, true, false, {"aaaa bbbbbbbbbb ", "cccccccc"}},
        {"word split without word break", "aaaa bbbbbbbbbb cccccccc", 20, false, false, false, false,
         {"aaaa bbbbbbbbbb cccc", "cccc"}},
        {"word longer than a row is split at the width", QString(25, u'x'), 20, false, false, true, false,
         {QString(20, u'x'), QString(5, u'x')}},
        {"exact fill gets an empty row for its return mark", ten, 20, false, false, false, false, {ten, ""}},
        {"exact fill hangs its return mark", ten, 20, false, false, false, true, {ten}},
        {"tab expands from the row start", "abc\tdefghijklmnopqrstu", 20, false, false, false, false,
         {"abc\tdefghijklmno", "pqrstu"}},
        {"combining mark stays with its base", QString(19, u'a') + QStringLiteral(u"か\u3099"), 20, false, false, false, false,
         {QString(19, u'a'), QStringLiteral(u"か\u3099")}},
        {"surrogate pair never splits", QString(19, u'a') + QStringLiteral(u"𠮷b"), 20, false, false, false, false,
         {QString(19, u'a'), QStringLiteral(u"𠮷b")}},
        {"row of only forbidden characters still ends", QString(12, QChar(0x3002)), 20, false, true, false, true,
         {QString(9, QChar(0x3002)), QString(3, QChar(0x3002))}},
        {"hanging punctuation at the line end keeps the return mark apart", ten + QStringLiteral(u"。"), 20, true, false, false, false,
         {ten + QStringLiteral(u"。|"), ""}},
    };
    for (const WrapCase& c : cases) {
        WrapSettings settings;
        settings.wordWrap = true;
        settings.tabWidth = 8;
        settings.option.WrapByte = c.width;
        settings.option.FollowPunctuation = c.followPunctuation;
        settings.option.Leading = c.leading;
        settings.option.WordBreak = c.wordBreak;
        settings.option.FollowRetMark = c.followRetMark;
        if (c.noFollowStr)
            settings.option.FollowStr.clear();
        const auto rows = WrapLine(c.line, settings, true);
        EXPECT_EQ(RowTexts(c.line, rows), c.rows) << c.name;
        QString joined;
        for (const WrapRow& row : rows)
            joined += c.line.mid(row.start, row.end - row.start);
        EXPECT_EQ(joined, c.line) << c.name << ": characters lost or repeated";
    }
}

TEST(WrapLayoutTest, WithoutWordWrapALineIsOneRow)
{
    WrapSettings settings;
    settings.wordWrap = false;
    const QString line(500, u'x');
    const auto rows = WrapLine(line, settings, true);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (WrapRow{0, 500, false}));
}

TEST(WrapLayoutTest, EveryWidthAndOptionMixEndsWithoutLosingText)
{
    const QString line = QStringLiteral(u"「日本語」の文章、これは（テスト）です。abc def123,ghi「」「」。。。ｰｰｰ\tタブ𠮷𠮷ー！？");
    for (int width = 20; width <= 24; ++width) {
        for (int mask = 0; mask < 16; ++mask) {
            WrapSettings settings;
            settings.wordWrap = true;
            settings.option.WrapByte = width;
            settings.option.FollowPunctuation = mask & 1;
            settings.option.Leading = mask & 2;
            settings.option.WordBreak = mask & 4;
            settings.option.FollowRetMark = mask & 8;
            QString joined;
            for (const WrapRow& row : WrapLine(line, settings, true)) {
                joined += line.mid(row.start, row.end - row.start);
                const int cells = CellsOf(line, row.start, row.end, 0, settings.tabWidth);
                const int hanging = row.hangs ? CellsOf(line, PrevBoundary(line, row.end), row.end, 0, 8) : 0;
                EXPECT_LE(cells - hanging, width) << width << " " << mask;
            }
            EXPECT_EQ(joined, line) << width << " " << mask;
        }
    }
}
