#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "platform/CodePage.h"
#include "platform/Exception.h"
#include "platform/LocaleMapping.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using namespace TStringConvertFunction;

namespace {


QString MessageOf(const std::function<QString()>& conversion) {
    try {
        conversion();
    } catch (const platform::Exception& error) {
        return error.Message();
    }
    return u"(no error)"_s;
}

}  // namespace

TEST(MapString, MapsTheWholeTextWithOneFlag) {
    const struct {
        QString input;
        std::uint32_t flags;
        QString expected;
    } cases[] = {
        {u"カタカナとヴ"_s, platform::LCMAP_HIRAGANA, u"かたかなとゔ"_s},
        {u"ひらがな"_s, platform::LCMAP_KATAKANA, u"ヒラガナ"_s},
        {u"AB 1ｶﾞ"_s, platform::LCMAP_FULLWIDTH, u"ＡＢ\u3000１ガ"_s},
        // Voiced kana take two half-width characters: the result is longer than the input.
        {u"ガギグパ"_s, platform::LCMAP_HALFWIDTH, u"ｶﾞｷﾞｸﾞﾊﾟ"_s},
        {u"ABC Äß"_s, platform::LCMAP_LOWERCASE, u"abc äß"_s},
        {u"abc äß"_s, platform::LCMAP_UPPERCASE, u"ABC Äß"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MapString(c.input, c.flags), c.expected) << c.input.toStdString() << " flags " << c.flags;
}

TEST(MapString, GivesTheTextBackWhenTheServiceRefuses) {
    EXPECT_EQ(MapString(u""_s, platform::LCMAP_HIRAGANA), u""_s);
    EXPECT_EQ(MapString(u"カナ"_s, platform::LCMAP_HIRAGANA | platform::LCMAP_UPPERCASE), u"カナ"_s);
    EXPECT_EQ(MapString(u"カナ"_s, 0), u"カナ"_s);
}

TEST(ConvHtmlUnescape, MatchesExactCaseAndTurnsAmpersandBackLast) {
    const TextCase cases[] = {
        {u"a&lt;b &amp; c&gt; &quot;"_s, u"a<b & c> \""_s},
        {u"&amp;lt;"_s, u"&lt;"_s},
        {u"&amp;amp;"_s, u"&amp;"_s},
        {u"&LT;&Amp;&quot"_s, u"&LT;&Amp;&quot"_s},
        {u"&#60;&#x3C;&apos;&nbsp;&copy; a & b"_s, u"&#60;&#x3C;&apos;&nbsp;&copy; a & b"_s},
        {u"&&lt;;"_s, u"&<;"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ConvHtmlUnescape(c.input), c.expected) << c.input.toStdString();
}

TEST(ConvHtmlUnescape, UndoesHtmlEscapeExactly) {
    RandomText random({u"&"_s, u"<"_s, u">"_s, u"\""_s, u"'"_s, u"amp;"_s, u"lt;"_s, u"gt;"_s, u"quot;"_s,
                       u"&amp;"_s, u"&LT;"_s, u";"_s, u"a"_s, u"日本"_s, u"😀"_s, u"\xd800"_s, u"\0"_s});
    for (int n = 0; n < RandomCases; ++n) {
        const QString text = random.Next();
        ASSERT_EQ(ConvHtmlUnescape(StringUtility::HtmlEscape(text)), text);
    }
}

TEST(ConvUrlEscape, EncodesFormStyleInTheSystemCodePage) {
    const TextCase cases[] = {
        {u" "_s, u"+"_s},
        {u"a+b"_s, u"a%2bb"_s},
        {u"(a)!"_s, u"%28a%29%21"_s},
        {u"!$@'()"_s, u"%21%24%40%27%28%29"_s},
        {u"a,b"_s, u"a%2cb"_s},
        {u"~"_s, u"%7e"_s},
        {u"*-._09AZaz"_s, u"*-._09AZaz"_s},
        {u"あ"_s, u"%82%a0"_s},
        {u"ｱ～"_s, u"%b1%81%60"_s},
        {u"\r\n"_s, u"%0d%0a"_s},
        {u"a\0b"_s, u"a%00b"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ConvUrlEscape(c.input), c.expected) << c.input.toStdString();
}

TEST(ConvUrlUnescape, DecodesInTheSystemCodePage) {
    const TextCase cases[] = {
        {u"a+b"_s, u"a b"_s},
        {u"%82%A0%82%a0"_s, u"ああ"_s},
        {u"%%"_s, u"%"_s},
        {u"%%41"_s, u"%41"_s},
        {u"日本%41"_s, u"日本A"_s},
        {u"%00a"_s, u"\0a"_s},
        {u"%2B%2b"_s, u"++"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ConvUrlUnescape(c.input), c.expected) << c.input.toStdString();
}

TEST(UrlDecodeText, DecodesUtf8BytesAndReadsThemInTheCodePage) {
    EXPECT_EQ(UrlDecodeText(u"a+b"_s, 0), u"a b"_s);
    EXPECT_EQ(UrlDecodeText(u"%82%A0"_s, 0), u"あ"_s);
    EXPECT_EQ(UrlDecodeText(u"%82%a0"_s, 0), u"あ"_s);
    EXPECT_EQ(UrlDecodeText(u"%e3%81%82%%"_s, 65001), u"あ%"_s);
    EXPECT_EQ(UrlDecodeText(u"日本%41"_s, 65001), u"日本A"_s);
    // Unescaped Japanese enters as UTF-8 and is read in code page 932: it does not survive.
    EXPECT_NE(UrlDecodeText(u"日本%41"_s, 0), u"日本A"_s);
    EXPECT_EQ(UrlDecodeText(u""_s, 0), u""_s);
}

TEST(UrlUnescape, FailsOnAPercentThatStartsNoEscape) {
    const struct {
        QString input;
        QString message;
    } cases[] = {
        {u"100%"_s, TruncatedEscapeMessage(4)},
        {u"%4"_s, TruncatedEscapeMessage(1)},
        {u"%"_s, TruncatedEscapeMessage(1)},
        {u"%zz"_s, InvalidEscapeMessage(u"%zz"_s, 1)},
        {u"ab%-1"_s, InvalidEscapeMessage(u"%-1"_s, 3)},
        {u"% 1"_s, InvalidEscapeMessage(u"% 1"_s, 1)},
        {u"%4g"_s, InvalidEscapeMessage(u"%4g"_s, 1)},
        {u"%%%"_s, TruncatedEscapeMessage(3)},
        {u"%\0"_s, TruncatedEscapeMessage(1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MessageOf([&] { return ConvUrlUnescape(c.input); }), c.message) << c.input.toStdString();
        EXPECT_EQ(MessageOf([&] { return UrlDecodeText(c.input, 0); }), c.message) << c.input.toStdString();
    }
    // Positions count bytes: two characters of 932 take four bytes, of UTF-8 six.
    EXPECT_EQ(MessageOf([] { return ConvUrlUnescape(u"日本%zz"_s); }), InvalidEscapeMessage(u"%zz"_s, 5));
    EXPECT_EQ(MessageOf([] { return UrlDecodeText(u"日本%zz"_s, 0); }), InvalidEscapeMessage(u"%zz"_s, 7));
}

// Text the code page can hold comes back unchanged through escape and unescape.
TEST(UrlEscapes, RoundTripRepresentableText) {
    const std::vector<QString> shared = {u"a"_s, u"Z"_s, u"0"_s, u" "_s, u"+"_s, u"%"_s, u"%41"_s, u"!$@'()*"_s,
                                         u"-._~,;/?#&="_s, u"\r\n"_s, u"\t"_s, u"\0"_s, u"\x7f"_s, u"あ"_s,
                                         u"日本語"_s, u"ｱｶﾞ"_s, u"ー"_s, u"～"_s, u"－"_s, u"＼"_s, u"①"_s};
    std::vector<QString> utf8Only = shared;
    utf8Only.insert(utf8Only.end(), {u"😀"_s, u"한"_s, u"é"_s, u"\u301c"_s});
    RandomText in932(shared);
    RandomText inUtf8(utf8Only);
    for (int n = 0; n < RandomCases; ++n) {
        const QString text932 = in932.Next();
        ASSERT_EQ(ConvUrlUnescape(ConvUrlEscape(text932)), text932);
        ASSERT_EQ(UrlDecodeText(StringUtility::UrlEncode(text932, 0), 0), text932);
        ASSERT_EQ(UrlDecodeText(StringUtility::UrlEncode(text932, 932), 932), text932);
        const QString textUtf8 = inUtf8.Next();
        ASSERT_EQ(UrlDecodeText(StringUtility::UrlEncode(textUtf8, 65001), 65001), textUtf8);
    }
}

TEST(FormUrlEncode, KeepsTheFormBytesAndWritesSpaceAsPlus) {
    EXPECT_EQ(FormUrlEncode(QByteArray("!$'()*-.09@AZ_az")), QByteArray("!$'()*-.09@AZ_az"));
    EXPECT_EQ(FormUrlEncode(QByteArray(" ~,+%\x80\xff")), QByteArray("+%7e%2c%2b%25%80%ff"));
    EXPECT_EQ(FormUrlEncode(QByteArray("a\0b", 3)), QByteArray("a%00b"));
}

TEST(PercentDecode, DecodesEveryByteValue) {
    QByteArray all;
    QByteArray escaped;
    for (int byte = 0; byte < 256; ++byte) {
        all += char(byte);
        escaped += QByteArray("%") + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    }
    EXPECT_EQ(PercentDecode(escaped), all);
    EXPECT_EQ(PercentDecode(FormUrlEncode(all)), all);
    EXPECT_EQ(PercentDecode(QByteArray("a+%2B%%b\0c", 10)), QByteArray("a +%b\0c", 7));
}

TEST(WidthConversions, ChangeOnlyAsciiLettersOrDigits) {
    const struct {
        QString (*convert)(const QString&);
        const char* name;
        QString input;
        QString expected;
    } cases[] = {
        {AlphaToZenkaku, "AlphaToZenkaku", u"abc123"_s, u"ａｂｃ123"_s},
        {DigitToZenkaku, "DigitToZenkaku", u"abc123"_s, u"abc１２３"_s},
        {AlnumToZenkaku, "AlnumToZenkaku", u"abc123"_s, u"ａｂｃ１２３"_s},
        {AlphaToHankaku, "AlphaToHankaku", u"ＡＢＣ１２３"_s, u"ABC１２３"_s},
        {DigitToHankaku, "DigitToHankaku", u"ＡＢＣ１２３"_s, u"ＡＢＣ123"_s},
        {AlnumToHankaku, "AlnumToHankaku", u"ＡＢＣ１２３"_s, u"ABC123"_s},
        {AlphaToZenkaku, "AlphaToZenkaku", u"aZ"_s, u"ａＺ"_s},
        {AlnumToZenkaku, "AlnumToZenkaku", u"a-b c!09@[`{"_s, u"ａ-ｂ ｃ!０９@[`{"_s},
        {AlnumToHankaku, "AlnumToHankaku", u"＃＠［｀｛０９ａｚ"_s, u"＃＠［｀｛09az"_s},
        {AlnumToZenkaku, "AlnumToZenkaku", u"éαжｱ😀"_s, u"éαжｱ😀"_s},
        {AlnumToHankaku, "AlnumToHankaku", u"éαжｱ😀"_s, u"éαжｱ😀"_s},
        {AlnumToHankaku, "AlnumToHankaku", u""_s, u""_s},
    };
    for (const auto& c : cases) EXPECT_EQ(c.convert(c.input), c.expected) << c.name << ": " << c.input.toStdString();
}

TEST(ReplaceChars, RunsThePositionsInTurnSoReplacementsChain) {
    // a -> b, then every b (the new ones included) -> c.
    EXPECT_EQ(ReplaceChars(u"abx"_s, u"ab", u"bc"), u"ccx"_s);
    // The first position of a repeated character wins; the second finds nothing left.
    EXPECT_EQ(ReplaceChars(u"aa"_s, u"aa", u"xy"), u"xx"_s);
    EXPECT_EQ(ReplaceChars(u"abc"_s, u"", u""), u"abc"_s);
}

TEST(WidthConversions, LeaveTheArgumentUntouched) {
    const QString text = u"abc"_s;
    const QString copy = text;
    EXPECT_EQ(AlphaToZenkaku(copy), u"ａｂｃ"_s);
    EXPECT_EQ(copy, u"abc"_s);
    EXPECT_EQ(text, u"abc"_s);
}
