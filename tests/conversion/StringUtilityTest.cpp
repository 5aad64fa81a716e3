#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "platform/Exception.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using namespace StringUtility;

TEST(HtmlEscape, EscapesTheFourSpecialCharactersOnly) {
    const TextCase cases[] = {
        {u"a<b & c>"_s, u"a&lt;b &amp; c&gt;"_s},
        {u"say \"hi\""_s, u"say &quot;hi&quot;"_s},
        {u"&amp;"_s, u"&amp;amp;"_s},
        {u"it's"_s, u"it's"_s},
        {u"&#60;\u00a0日本"_s, u"&amp;#60;\u00a0日本"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(HtmlEscape(c.input), c.expected) << c.input.toStdString();
}

TEST(HTMLUnescape, MatchesAnyCaseAndTurnsAmpersandBackFirst) {
    const TextCase cases[] = {
        {u"a&lt;b &amp; c&gt; &quot;"_s, u"a<b & c> \""_s},
        {u"&LT;&Gt;&QUOT;&AmP;"_s, u"<>\"&"_s},
        {u"&amp;lt;"_s, u"<"_s},                  // unescaped twice
        {u"&AMP;quot;"_s, u"\""_s},
        {u"&amp;amp;lt;"_s, u"&amp;lt;"_s},      // the "&" made by "&amp;" is not searched for "&amp;" again
        {u"&amp;&lt;"_s, u"&<"_s},
        {u"&&lt;"_s, u"&<"_s},
        {u"&#60;&#x3C;&apos;&nbsp;&copy;"_s, u"&#60;&#x3C;&apos;&nbsp;&copy;"_s},
        {u"a & b &lt"_s, u"a & b &lt"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(HTMLUnescape(c.input), c.expected) << c.input.toStdString();
}

TEST(HTMLUnescape, UnescapesAnEscapedEntityAllTheWay) {
    EXPECT_EQ(HTMLUnescape(HtmlEscape(u"&lt;"_s)), u"<"_s);
}

TEST(HTTPEncode, KeepsOnlyUnreservedBytes) {
    EXPECT_EQ(HTTPEncode(QByteArray("-._09AZaz")), QByteArray("-._09AZaz"));
    EXPECT_EQ(HTTPEncode(QByteArray(" !*'()~,+%\r\n\xff")), QByteArray("%20%21%2a%27%28%29%7e%2c%2b%25%0d%0a%ff"));
    // A zero byte is escaped like any other byte rather than ending the input.
    EXPECT_EQ(HTTPEncode(QByteArray("a\0b", 3)), QByteArray("a%00b"));
}

TEST(UrlEncode, EncodesStrictlyInTheGivenCodePage) {
    struct Case {
        QString input;
        unsigned codePage;
        QString expected;
    } cases[] = {
        {u" "_s, 0, u"%20"_s},
        {u"a+b"_s, 0, u"a%2bb"_s},
        {u"(a)!"_s, 0, u"%28a%29%21"_s},
        {u"a,b"_s, 0, u"a%2cb"_s},
        {u"~*"_s, 0, u"%7e%2a"_s},
        {u"あ"_s, 0, u"%82%a0"_s},
        {u"あ"_s, 932, u"%82%a0"_s},
        {u"あ"_s, 65001, u"%e3%81%82"_s},
        {u"\r\n"_s, 0, u"%0d%0a"_s},
        {u"a\0b"_s, 65001, u"a%00b"_s},
        {u"😀"_s, 932, u"%3f"_s},  // not in the code page: its default character
        {u"aあ"_s, 1200, u"a%00B0"_s},  // UTF-16 LE bytes 61 00 42 30
        {u""_s, 0, u""_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(c.input, c.codePage), c.expected) << c.input.toStdString() << " cp " << c.codePage;
}

TEST(UrlDecode, DecodesTextInItsCodePageAndBytes) {
    EXPECT_EQ(UrlDecode(u"%82%A0+あ"_s, 0), QByteArray("\x82\xa0 \x82\xa0"));
    EXPECT_EQ(UrlDecode(u"あ%41"_s, 65001), QByteArray("\xe3\x81\x82" "A"));
    EXPECT_EQ(UrlDecode(QByteArray("%%41%00")), QByteArray("%41\0", 4));
    EXPECT_EQ(UrlDecode(u""_s, 0), QByteArray());
    EXPECT_EQ(UrlDecode(QByteArray()), QByteArray());
}

TEST(UrlDecode, ReportsTheBytePositionInTheCodePageOfTheText) {
    const struct {
        QString input;
        unsigned codePage;
        QString message;
    } cases[] = {
        {u"日本%zz"_s, 932, InvalidEscapeMessage(u"%zz"_s, 5)},
        {u"日本%zz"_s, 65001, InvalidEscapeMessage(u"%zz"_s, 7)},
        {u"日本%4"_s, 65001, TruncatedEscapeMessage(7)},
        {u"%あ"_s, 932, InvalidEscapeMessage(u"%あ"_s, 1)},  // the offending bytes shown as text of the code page
    };
    for (const auto& c : cases) {
        try {
            UrlDecode(c.input, c.codePage);
            ADD_FAILURE() << "no error for " << c.input.toStdString();
        } catch (const platform::Exception& error) {
            EXPECT_EQ(error.Message(), c.message) << c.input.toStdString();
        }
    }
}

TEST(ToZenkaku, WidensHalfWidthKanaAndJoinsVoicingMarks) {
    const TextCase cases[] = {
        {u"ﾃﾞｰﾀ"_s, u"データ"_s},
        {u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"_s, u"パピプペポ"_s},
        {u"ｳﾞｧ"_s, u"ヴァ"_s},
        {u"ｶﾟ"_s, u"カ゜"_s},
        {u"ﾜﾞｦﾞ"_s, u"ワ゛ヲ゛"_s},
        {u"ﾞｱ"_s, u"゛ア"_s},
        {u"ｶﾞﾞ"_s, u"ガ゛"_s},
        {u"ﾊﾟﾟﾞ"_s, u"パ゜゛"_s},
        {u"ｶ"_s, u"カ"_s},  // a base at the very end
        {u"｢ｱｲｳ｣､ｴｵ｡"_s, u"「アイウ」、エオ。"_s},
        {u"･"_s, u"・"_s},
        {u"ｦｧｨｩｪｫｬｭｮｯﾝ"_s, u"ヲァィゥェォャュョッン"_s},
        {u"Aｶ1ﾞ😀ｷ"_s, u"Aカ1゛😀キ"_s},
        {u"カタカナ ひらがな 漢字 ABC ＡＢＣ ﾠ"_s, u"カタカナ ひらがな 漢字 ABC ＡＢＣ ﾠ"_s},
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(ToZenkaku(c.input), c.expected) << c.input.toStdString();
}

TEST(Capitalize, LowersAsciiCapitalsAndRaisesTheFirstCharacterOnly) {
    const TextCase cases[] = {
        {u"hello WORLD"_s, u"Hello world"_s},
        {u"HELLO"_s, u"Hello"_s},
        {u"one. TWO"_s, u"One. two"_s},
        {u"ABC\r\nDEF"_s, u"Abc\r\ndef"_s},
        {u" hello"_s, u" hello"_s},
        {u"123 ABC"_s, u"123 abc"_s},
        {u"ＡＢＣ"_s, u"ＡＢＣ"_s},
        {u"ａｂｃ"_s, u"ａｂｃ"_s},
        {u"アイウABC"_s, u"アイウabc"_s},
        {u"ÉCOLE"_s, u"École"_s},
        {u"a"_s, u"A"_s},
        {u"[@`{"_s, u"[@`{"_s},  // the neighbours of the letter ranges stay
        {u""_s, u""_s},
    };
    for (const TextCase& c : cases) EXPECT_EQ(Capitalize(c.input), c.expected) << c.input.toStdString();
}

TEST(Capitalize, LeavesTheArgumentUntouched) {
    const QString text = u"ABC"_s;
    const QString copy = text;
    EXPECT_EQ(Capitalize(copy), u"Abc"_s);
    EXPECT_EQ(copy, u"ABC"_s);
    EXPECT_EQ(ToZenkaku(copy), u"ABC"_s);
}
