// The conversions built as whole-text replacement steps run each step in one pass of their
// own. These tests run the steps literally, one ReplaceText after another, as the reference
// and compare over random and hand-picked inputs.
#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "conversion/TStringUtility.h"
#include "platform/CodePage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::Literals::StringLiterals;
using TStringUtility::HtmlEscapeTable;
using TStringUtility::ReplaceText;

namespace {

using Conversion = std::function<QString(const QString&)>;

QString ReferenceHtmlEscape(const QString& text) {
    QString result = text;
    for (const auto& row : HtmlEscapeTable) result = ReplaceText(result, row.plain, row.replacement, false);
    return result;
}

QString ReferenceConvHtmlUnescape(const QString& text) {
    QString result = text;
    for (const int row : {1, 2, 3, 0})
        result = ReplaceText(result, HtmlEscapeTable[row].replacement, HtmlEscapeTable[row].plain, false);
    return result;
}

QString ReferenceHTMLUnescape(const QString& text) {
    QString result = text;
    for (const int row : {0, 1, 2, 3})
        result = ReplaceText(result, HtmlEscapeTable[row].replacement, HtmlEscapeTable[row].plain, true);
    return result;
}

QString ReferenceToZenkaku(const QString& text) {
    const auto& pairs = TStringUtility::HankakuKanaPairs;
    QString result = text;
    for (std::size_t row = 0; row < pairs.hankaku.size(); ++row)
        result = ReplaceText(result, pairs.hankaku[row], pairs.zenkaku[row], false);
    return result;
}

QString ReferenceReplaceChars(const QString& text, QStringView from, QStringView to) {
    QString result = text;
    for (qsizetype i = 0; i < from.size(); ++i) result = ReplaceText(result, from.mid(i, 1), to.mid(i, 1), false);
    return result;
}

QString ReferenceConvUrlEscape(const QString& text) {
    const QByteArray bytes = platform::UTF16ToAnsi(text, platform::CodePageSystem);
    QString result = QString::fromLatin1(TStringConvertFunction::FormUrlEncode(bytes));
    for (const auto& fixup : TStringUtility::UrlFixups)
        result = ReplaceText(result, fixup.plain, fixup.replacement, false);
    return result;
}

void ExpectSameResults(const Conversion& tested, const Conversion& reference, RandomText& random,
                       const std::vector<QString>& handPicked) {
    for (const QString& text : handPicked) EXPECT_EQ(tested(text), reference(text)) << text.toStdString();
    for (int n = 0; n < RandomCases; ++n) {
        const QString text = random.Next();
        const QString expected = reference(text);
        ASSERT_EQ(tested(text), expected) << "input: " << ::testing::PrintToString(text);
    }
}

// Entity fragments in every letter case, with the characters whose case folding reaches
// past ASCII (Kelvin sign, long s, dotted and dotless i) and stray surrogates.
std::vector<QString> HtmlTokens() {
    return {u"&"_s,     u"&"_s,     u"&amp;"_s, u"&AMP;"_s, u"&aMp;"_s, u"amp;"_s,   u"AmP;"_s, u"lt;"_s,
            u"LT;"_s,   u"gt;"_s,   u"Gt;"_s,   u"quot;"_s, u"QUOT;"_s, u"qUoT;"_s,  u"&lt;"_s, u"&gt;"_s,
            u"&quot;"_s, u";"_s,    u"a"_s,     u"m"_s,     u"p"_s,     u"l"_s,      u"t"_s,    u"g"_s,
            u"q"_s,     u"u"_s,     u"o"_s,     u"A"_s,     u"T"_s,     u"<"_s,      u">"_s,    u"\""_s,
            u"'"_s,     u"#60"_s,   u"x"_s,     u"\u212a"_s, u"\u017f"_s, u"\u0130"_s, u"\u0131"_s, u"ｶ"_s,
            u"😀"_s,    u"\xd800"_s, u"\xdc00"_s, u"\0"_s};
}

}  // namespace

TEST(StepSequence, HtmlEscapeMatchesItsSteps) {
    RandomText random(HtmlTokens());
    ExpectSameResults(StringUtility::HtmlEscape, ReferenceHtmlEscape, random,
                      {u""_s, u"&&&"_s, u"\"<>&"_s, u"&amp;"_s});
}

TEST(StepSequence, ConvHtmlUnescapeMatchesItsSteps) {
    RandomText random(HtmlTokens());
    ExpectSameResults(TStringConvertFunction::ConvHtmlUnescape, ReferenceConvHtmlUnescape, random,
                      {u"&amp;lt;"_s, u"&amp;amp;"_s, u"&&lt;;"_s, u"&lt"_s, u"&"_s, u"&quot;&amp;quot;"_s});
}

TEST(StepSequence, HTMLUnescapeMatchesItsSteps) {
    RandomText random(HtmlTokens());
    ExpectSameResults(StringUtility::HTMLUnescape, ReferenceHTMLUnescape, random,
                      {u"&amp;lt;"_s, u"&amp;amp;lt;"_s, u"&AMP;AMP;"_s, u"&amp;&amp;lt;"_s, u"&amp;&lt;"_s,
                       u"&amp;"_s, u"&amp"_s, u"&AMP;quot"_s, u"&&amp;gt;"_s, u"&amp;amp;amp;quot;"_s});
}

TEST(StepSequence, ToZenkakuMatchesItsRows) {
    std::vector<QString> tokens;
    for (char16_t c = 0xFF61; c <= 0xFF9F; ++c) tokens.push_back(QString(QChar(c)));
    for (int weight = 0; weight < 8; ++weight) tokens.insert(tokens.end(), {u"ﾞ"_s, u"ﾟ"_s});
    tokens.insert(tokens.end(), {u"ガ"_s, u"ア"_s, u"あ"_s, u"a"_s, u"ﾠ"_s, u"\uff60"_s, u"\uffa0"_s,
                                 u"゛"_s, u"\u3099"_s, u"😀"_s, u"\xd800"_s, u"\0"_s});
    RandomText random(tokens);
    ExpectSameResults(StringUtility::ToZenkaku, ReferenceToZenkaku, random,
                      {u"ｶﾞﾞ"_s, u"ﾞｶﾞ"_s, u"ﾊﾟﾞ"_s, u"ﾜﾞ"_s, u"ｳﾞｧ"_s, u"ﾞ"_s, u"ｶ"_s});
}

TEST(StepSequence, WidthConversionsMatchTheirSteps) {
    using namespace TStringUtility;
    RandomText random({u"a"_s, u"z"_s, u"A"_s, u"Z"_s, u"m"_s, u"0"_s, u"1"_s, u"9"_s, u"@"_s, u"["_s, u"`"_s,
                       u"{"_s, u"/"_s, u":"_s, u"ａ"_s, u"ｚ"_s, u"Ａ"_s, u"Ｚ"_s, u"０"_s, u"９"_s, u"＃"_s,
                       u"＠"_s, u"｛"_s, u"é"_s, u"α"_s, u"ж"_s, u"ｱ"_s, u"😀"_s, u"\xdc00"_s, u"\0"_s});
    const struct {
        Conversion tested;
        Conversion reference;
    } conversions[] = {
        {TStringConvertFunction::AlphaToZenkaku,
         [](const QString& t) { return ReferenceReplaceChars(t, HankakuAlpha, ZenkakuAlpha); }},
        {TStringConvertFunction::DigitToZenkaku,
         [](const QString& t) { return ReferenceReplaceChars(t, HankakuDigits, ZenkakuDigits); }},
        {TStringConvertFunction::AlnumToZenkaku,
         [](const QString& t) {
             return ReferenceReplaceChars(ReferenceReplaceChars(t, HankakuDigits, ZenkakuDigits), HankakuAlpha,
                                          ZenkakuAlpha);
         }},
        {TStringConvertFunction::AlphaToHankaku,
         [](const QString& t) { return ReferenceReplaceChars(t, ZenkakuAlpha, HankakuAlpha); }},
        {TStringConvertFunction::DigitToHankaku,
         [](const QString& t) { return ReferenceReplaceChars(t, ZenkakuDigits, HankakuDigits); }},
        {TStringConvertFunction::AlnumToHankaku,
         [](const QString& t) {
             return ReferenceReplaceChars(ReferenceReplaceChars(t, ZenkakuAlpha, HankakuAlpha), ZenkakuDigits,
                                          HankakuDigits);
         }},
    };
    for (const auto& conversion : conversions)
        ExpectSameResults(conversion.tested, conversion.reference, random, {u""_s});
}

// Arbitrary alphabets, where replacements chain and characters repeat.
TEST(StepSequence, ReplaceCharsMatchesItsStepsForAnyAlphabets) {
    const std::vector<QString> letters = {u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"\xd800"_s, u"\xffff"_s, u"\0"_s};
    RandomText alphabet(letters);
    RandomText random(letters);
    for (int n = 0; n < RandomCases; ++n) {
        const QString from = alphabet.Next(6);
        QString to = alphabet.Next(6);
        while (to.size() < from.size()) to += letters[to.size() % letters.size()];
        const QString text = random.Next();
        ASSERT_EQ(TStringConvertFunction::ReplaceChars(text, from, to), ReferenceReplaceChars(text, from, to))
            << "from " << ::testing::PrintToString(from) << " to " << ::testing::PrintToString(to) << " text "
            << ::testing::PrintToString(text);
    }
}

TEST(StepSequence, ConvUrlEscapeMatchesFormEncodingWithItsFixups) {
    RandomText random({u"!"_s, u"$"_s, u"@"_s, u"'"_s, u"("_s, u")"_s, u"*"_s, u"-"_s, u"."_s, u"_"_s, u"~"_s,
                       u" "_s, u"+"_s, u"%"_s, u"%21"_s, u"a"_s, u"Z"_s, u"0"_s, u"f"_s, u"あ"_s, u"日"_s, u"ｱ"_s,
                       u"\r\n"_s, u"\0"_s, u"😀"_s, u"\xd800"_s, u"\x7f"_s, u"\u00e9"_s});
    ExpectSameResults(TStringConvertFunction::ConvUrlEscape, ReferenceConvUrlEscape, random,
                      {u""_s, u"!$@'()"_s, u"(a)!"_s});
}
