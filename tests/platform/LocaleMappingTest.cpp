#include "platform/LocaleMapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

// Asks for the size, then maps into a destination of exactly that size.
std::u16string Map(std::uint32_t flags, const std::u16string& text) {
    const int size = LCMapString(LocaleJapanese, flags, text.data(), static_cast<int>(text.size()),
                                 nullptr, 0);
    if (size <= 0) return u"<refused>";
    std::u16string result(size, u'\0');
    const int written = LCMapString(LocaleJapanese, flags, text.data(),
                                    static_cast<int>(text.size()), result.data(), size);
    EXPECT_EQ(written, size) << "the writing call disagrees with the size query";
    return result;
}

struct Case {
    std::u16string from;
    std::u16string to;
};

void ExpectMaps(std::uint32_t flags, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(Map(flags, c.from), c.to)
            << "from " << testing::PrintToString(std::vector<int>(c.from.begin(), c.from.end()));
    }
}

std::u16string Unit(char16_t c) { return std::u16string(1, c); }

}  // namespace

TEST(LocaleMapping, FullWidth) {
    ExpectMaps(LCMAP_FULLWIDTH, {
        {u" !~\\'\"Az09", u"\u3000！～＼＇＂Ａｚ０９"},
        {u"¢£¬¯¦¥₩", u"\uFFE0\uFFE1\uFFE2\uFFE3\uFFE4\uFFE5\uFFE6"},
        {u"⦅⦆", u"\uFF5F\uFF60"},
        {u"｡｢｣､･ｦｧｰｱﾝ", u"。「」、・ヲァーアン"},
        // voicing marks compose where a precomposed kana exists
        {u"ｶﾞﾊﾟｳﾞﾜﾞｦﾞ", u"ガパヴヷヺ"},
        {u"ｶﾟｱﾞｯﾞ", u"カ゜ア゛ッ゛"},
        {u"ﾞﾟxﾞ", u"゛゜ｘ゛"},
        {u"ｶﾞﾞ", u"ガ゛"},
        {u"ｶ\u3099", u"カ\u3099"},  // only the half-width marks compose
        {u"ﾡﾤﾾￜ", u"ㄱㄴㅎㅣ"},
        {u"\uFFA0", u"\u3164"},
        {u"￨￩￪￫￬￭￮", u"│←↑→↓■○"},
        // nothing else changes
        {u"漢字ひらがなカタカナ　ＡＢ€‘’“”", u"漢字ひらがなカタカナ　ＡＢ€‘’“”"},
        {u"𐐨\xD800x", u"𐐨\xD800ｘ"},
    });
}

TEST(LocaleMapping, HalfWidth) {
    ExpectMaps(LCMAP_HALFWIDTH, {
        {u"\u3000！～＼＇＂Ａｚ０９", u" !~\\'\"Az09"},
        {u"\uFFE0\uFFE1\uFFE2\uFFE3\uFFE4\uFFE5\uFFE6", u"¢£¬¯¦¥₩"},
        {u"\uFF5F\uFF60", u"⦅⦆"},
        {u"。「」、・ヲァーアン", u"｡｢｣､･ｦｧｰｱﾝ"},
        {u"ガパヴヷヺ", u"ｶﾞﾊﾟｳﾞﾜﾞｦﾞ"},
        // katakana without a half-width form keep their base
        {u"ヮヰヱヵヶヽ", u"ヮヰヱヵヶヽ"},
        {u"ヸヹヾ", u"ヰﾞヱﾞヽﾞ"},
        {u"゛゜\u3099\u309A", u"ﾞﾟﾞﾟ"},
        {u"‘’“”", u"''\"\""},
        {u"ㄱㄴㅎㅣ\u3164", u"ﾡﾤﾾￜ\uFFA0"},
        {u"│←↑→↓■○", u"￨￩￪￫￬￭￮"},
        {u"漢字ひらがなゔぱ", u"漢字ひらがなゔぱ"},
        {u"ヿ𐐨\xDC00", u"ヿ𐐨\xDC00"},
    });
}

TEST(LocaleMapping, KanaBlocks) {
    ExpectMaps(LCMAP_HIRAGANA, {
        {u"ァアヴヵヶヽヾ", u"ぁあゔゕゖゝゞ"},
        {u"ヷヸヹヺヿー・ｱ", u"ヷヸヹヺヿー・ｱ"},
        {u"ゟ漢A", u"ゟ漢A"},
    });
    ExpectMaps(LCMAP_KATAKANA, {
        {u"ぁあゔゕゖゝゞ", u"ァアヴヵヶヽヾ"},
        {u"ゟ゛゜\u3099ｱー漢", u"ゟ゛゜\u3099ｱー漢"},
    });
}

TEST(LocaleMapping, CaseIsSimpleAndKeepsLength) {
    ExpectMaps(LCMAP_UPPERCASE, {
        {u"abcXYZ09", u"ABCXYZ09"},
        {u"àéßﬀ", u"ÀÉßﬀ"},
        {u"σςǆ", u"ΣΣǄ"},
        {u"ａｚ", u"ＡＺ"},
        {u"𐐨x𐐩", u"𐐀X𐐁"},
        {u"\xD801x\xDC28", u"\xD801X\xDC28"},  // lone surrogates stay
        {u"ひらがな", u"ひらがな"},
    });
    ExpectMaps(LCMAP_LOWERCASE, {
        {u"ABCxyz09", u"abcxyz09"},
        {u"ÀÉΣǄ", u"àéσǆ"},
        {u"İ", u"i"},
        {u"ＡＺ", u"ａｚ"},
        {u"𐐀X𐐁", u"𐐨x𐐩"},
    });
}

TEST(LocaleMapping, SizingContract) {
    const std::u16string voiced = u"ガギ";
    EXPECT_EQ(LCMapString(0, LCMAP_HALFWIDTH, voiced.data(), 2, nullptr, 0), 4);
    EXPECT_EQ(LCMapString(0, LCMAP_FULLWIDTH, u"ｶﾞｷﾞ", 4, nullptr, 0), 2);

    // A destination one unit short is refused and not written past its size.
    char16_t buffer[5] = {u'#', u'#', u'#', u'#', u'#'};
    EXPECT_EQ(LCMapString(0, LCMAP_HALFWIDTH, voiced.data(), 2, buffer, 3), 0);
    EXPECT_EQ(buffer[3], u'#');
    EXPECT_EQ(LCMapString(0, LCMAP_UPPERCASE, u"abc", 3, buffer, 2), 0);
    EXPECT_EQ(buffer[2], u'#');

    // A larger destination is fine; the length written is returned.
    EXPECT_EQ(LCMapString(0, LCMAP_UPPERCASE, u"abc", 3, buffer, 5), 3);
    EXPECT_EQ(std::u16string(buffer, 3), u"ABC");
    EXPECT_EQ(buffer[3], u'#');

    // -1 maps up to and including the terminating zero.
    EXPECT_EQ(LCMapString(0, LCMAP_UPPERCASE, u"ab", -1, nullptr, 0), 3);
    EXPECT_EQ(LCMapString(0, LCMAP_UPPERCASE, u"ab", -1, buffer, 5), 3);
    EXPECT_EQ(std::u16string(buffer, 3), std::u16string(u"AB\0", 3));

    // The locale does not change the rules.
    EXPECT_EQ(LCMapString(LocaleEnglishUS, LCMAP_HIRAGANA, u"ア", 1, buffer, 5), 1);
    EXPECT_EQ(buffer[0], u'あ');
}

TEST(LocaleMapping, RefusesBadRequests) {
    char16_t buffer[8] = {};
    struct Request {
        const char* what;
        std::uint32_t flags;
        const char16_t* source;
        int length;
        char16_t* destination;
        int size;
    } requests[] = {
        {"empty source", LCMAP_UPPERCASE, u"abc", 0, buffer, 8},
        {"empty terminated source", LCMAP_UPPERCASE, u"", -1, nullptr, 0},
        {"null source", LCMAP_UPPERCASE, nullptr, 3, nullptr, 0},
        {"negative length", LCMAP_UPPERCASE, u"abc", -2, nullptr, 0},
        {"negative size", LCMAP_UPPERCASE, u"abc", 3, buffer, -1},
        {"null destination", LCMAP_UPPERCASE, u"abc", 3, nullptr, 8},
        {"no flag", 0, u"abc", 3, nullptr, 0},
        {"unknown flag", 0x01000000, u"abc", 3, nullptr, 0},
        {"two case flags", LCMAP_UPPERCASE | LCMAP_LOWERCASE, u"abc", 3, nullptr, 0},
        {"kana and width", LCMAP_HIRAGANA | LCMAP_FULLWIDTH, u"abc", 3, nullptr, 0},
        {"known flag and extra bit", LCMAP_HALFWIDTH | 0x1, u"abc", 3, buffer, 8},
    };
    for (const Request& r : requests)
        EXPECT_EQ(LCMapString(0, r.flags, r.source, r.length, r.destination, r.size), 0) << r.what;
}

TEST(LocaleMapping, PrintableAsciiSurvivesFullThenHalfWidth) {
    std::u16string ascii;
    for (char16_t c = 0x20; c <= 0x7E; ++c) ascii += c;
    const std::u16string wide = Map(LCMAP_FULLWIDTH, ascii);
    EXPECT_EQ(wide.size(), ascii.size());
    for (char16_t c : wide) EXPECT_GT(c, 0x7E);
    EXPECT_EQ(Map(LCMAP_HALFWIDTH, wide), ascii);
}

TEST(LocaleMapping, EveryFullWidthFormNarrowsAndWidensBack) {
    int forms = 0;
    for (int c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const std::u16string wide = Map(LCMAP_FULLWIDTH, Unit(static_cast<char16_t>(c)));
        if (wide == Unit(static_cast<char16_t>(c))) continue;
        ++forms;
        const std::u16string narrow = Map(LCMAP_HALFWIDTH, wide);
        EXPECT_EQ(narrow, Unit(static_cast<char16_t>(c))) << std::hex << c;
        EXPECT_EQ(Map(LCMAP_FULLWIDTH, narrow), wide) << std::hex << c;
    }
    // ASCII, the signs, the white parentheses, katakana, Hangul and the symbols all widen.
    EXPECT_EQ(forms, 95 + 7 + 2 + 63 + 52 + 7);
}
