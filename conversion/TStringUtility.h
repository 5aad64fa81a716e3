#pragma once

#include <QString>
#include <QStringView>

#include <array>

// The replace-all primitive and the constant tables every conversion is built from.
namespace TStringUtility {

// Replaces every occurrence of pattern, searching from the left; matches never overlap and
// the inserted replacement is not searched again. An empty pattern changes nothing. With
// ignoreCase, letters match by Unicode simple case folding. Linear in the text's length.
QString ReplaceText(const QString& text, QStringView pattern, QStringView replacement, bool ignoreCase);

struct TextPair {
    QStringView plain;
    QStringView replacement;
};

// The HTML special characters and their entities, in the order the escape runs them.
inline constexpr std::array<TextPair, 4> HtmlEscapeTable{{
    {u"&", u"&amp;"},
    {u"\"", u"&quot;"},
    {u"<", u"&lt;"},
    {u">", u"&gt;"},
}};

// The characters the form-style URL escape writes as escapes after all, in this order.
inline constexpr std::array<TextPair, 6> UrlFixups{{
    {u"!", u"%21"},
    {u"$", u"%24"},
    {u"@", u"%40"},
    {u"'", u"%27"},
    {u"(", u"%28"},
    {u")", u"%29"},
}};

// Half-width katakana and their full-width forms, as two parallel arrays. The 26 voiced
// and semi-voiced pairs come first so that a base and its mark become one character; the
// stand-alone marks come last.
struct KanaPairTable {
    std::array<QStringView, 89> hankaku;
    std::array<QStringView, 89> zenkaku;
};

inline constexpr KanaPairTable HankakuKanaPairs{
    {{
        u"ｶﾞ", u"ｷﾞ", u"ｸﾞ", u"ｹﾞ", u"ｺﾞ", u"ｻﾞ", u"ｼﾞ", u"ｽﾞ", u"ｾﾞ", u"ｿﾞ",
        u"ﾀﾞ", u"ﾁﾞ", u"ﾂﾞ", u"ﾃﾞ", u"ﾄﾞ", u"ﾊﾞ", u"ﾊﾟ", u"ﾋﾞ", u"ﾋﾟ", u"ﾌﾞ",
        u"ﾌﾟ", u"ﾍﾞ", u"ﾍﾟ", u"ﾎﾞ", u"ﾎﾟ", u"ｳﾞ",
        u"ｧ", u"ｱ", u"ｨ", u"ｲ", u"ｩ", u"ｳ", u"ｪ", u"ｴ", u"ｫ", u"ｵ",
        u"ｶ", u"ｷ", u"ｸ", u"ｹ", u"ｺ", u"ｻ", u"ｼ", u"ｽ", u"ｾ", u"ｿ",
        u"ﾀ", u"ﾁ", u"ｯ", u"ﾂ", u"ﾃ", u"ﾄ", u"ﾅ", u"ﾆ", u"ﾇ", u"ﾈ",
        u"ﾉ", u"ﾊ", u"ﾋ", u"ﾌ", u"ﾍ", u"ﾎ", u"ﾏ", u"ﾐ", u"ﾑ", u"ﾒ",
        u"ﾓ", u"ｬ", u"ﾔ", u"ｭ", u"ﾕ", u"ｮ", u"ﾖ", u"ﾗ", u"ﾘ", u"ﾙ",
        u"ﾚ", u"ﾛ", u"ﾜ", u"ｦ", u"ﾝ", u"｡", u"｢", u"｣", u"､", u"･",
        u"ｰ", u"ﾞ", u"ﾟ",
    }},
    {{
        u"ガ", u"ギ", u"グ", u"ゲ", u"ゴ", u"ザ", u"ジ", u"ズ", u"ゼ", u"ゾ",
        u"ダ", u"ヂ", u"ヅ", u"デ", u"ド", u"バ", u"パ", u"ビ", u"ピ", u"ブ",
        u"プ", u"ベ", u"ペ", u"ボ", u"ポ", u"ヴ",
        u"ァ", u"ア", u"ィ", u"イ", u"ゥ", u"ウ", u"ェ", u"エ", u"ォ", u"オ",
        u"カ", u"キ", u"ク", u"ケ", u"コ", u"サ", u"シ", u"ス", u"セ", u"ソ",
        u"タ", u"チ", u"ッ", u"ツ", u"テ", u"ト", u"ナ", u"ニ", u"ヌ", u"ネ",
        u"ノ", u"ハ", u"ヒ", u"フ", u"ヘ", u"ホ", u"マ", u"ミ", u"ム", u"メ",
        u"モ", u"ャ", u"ヤ", u"ュ", u"ユ", u"ョ", u"ヨ", u"ラ", u"リ", u"ル",
        u"レ", u"ロ", u"ワ", u"ヲ", u"ン", u"。", u"「", u"」", u"、", u"・",
        u"ー", u"゛", u"゜",
    }},
};

// The letter and digit alphabets; each pair corresponds position by position.
inline constexpr QStringView HankakuAlpha = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr QStringView ZenkakuAlpha =
    u"ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ";
inline constexpr QStringView HankakuDigits = u"1234567890";
inline constexpr QStringView ZenkakuDigits = u"１２３４５６７８９０";

}  // namespace TStringUtility
