#include "cli/Tasks.h"

#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "platform/CodePage.h"
#include "platform/LocaleMapping.h"

namespace cli {
namespace {

Conversion Mapping(std::uint32_t flags) {
    return [flags](const QString& text) { return TStringConvertFunction::MapString(text, flags); };
}

Conversion Plain(QString (*operation)(const QString&)) {
    return [operation](const QString& text) { return operation(text); };
}

// Which width operation a target selects, as Pavlune's task types 2 and 3 choose them.
Conversion Width(std::uint32_t flags, Target target) {
    const bool full = flags == platform::LCMAP_FULLWIDTH;
    switch (target) {
    case Target::Alpha: return Plain(full ? TStringConvertFunction::AlphaToZenkaku : TStringConvertFunction::AlphaToHankaku);
    case Target::Digit: return Plain(full ? TStringConvertFunction::DigitToZenkaku : TStringConvertFunction::DigitToHankaku);
    case Target::AlphaNumeric:
        return Plain(full ? TStringConvertFunction::AlnumToZenkaku : TStringConvertFunction::AlnumToHankaku);
    case Target::All: break;
    }
    return Mapping(flags);
}

}  // namespace

const std::vector<Task>& Tasks() {
    static const std::vector<Task> tasks = {
        {"hiragana", false, "カタカナをひらがなに変換します"},
        {"katakana", false, "ひらがなをカタカナに変換します"},
        {"fullwidth", true, "半角文字を全角に変換します（--target で英字・数字に限定）"},
        {"halfwidth", true, "全角文字を半角に変換します（--target で英字・数字に限定）"},
        {"lower", false, "大文字を小文字に変換します"},
        {"upper", false, "小文字を大文字に変換します"},
        {"html-escape", false, "HTMLの特殊文字 < > & \" をエンティティに変換します"},
        {"html-unescape", false, "&lt; &gt; &amp; &quot; を元に戻します（大文字小文字を区別せず、&amp; を先に戻す）"},
        {"html-unescape-exact", false, "&lt; &gt; &amp; &quot; を元に戻します（小文字のみ、&amp; を最後に戻す）"},
        {"url-escape", false, "URLの使用禁止文字を符号化します（空白は %20）"},
        {"url-unescape", false, "符号化されたURLを元に戻します（UTF-8 として復号し、システムのコードページで読む）"},
        {"form-url-escape", false, "フォーム形式で符号化します（システムのコードページ、空白は +）"},
        {"form-url-unescape", false, "フォーム形式の符号化を元に戻します（システムのコードページ）"},
        {"kana-fullwidth", false, "半角カナを全角に変換します"},
        {"capitalize", false, "先頭の文字を大文字に、それ以外の英字を小文字に変換します"},
    };
    return tasks;
}

std::optional<Target> ParseTarget(std::string_view name) {
    if (name == "all") return Target::All;
    if (name == "alpha") return Target::Alpha;
    if (name == "digit") return Target::Digit;
    if (name == "alnum") return Target::AlphaNumeric;
    return std::nullopt;
}

std::optional<Conversion> ConversionFor(std::string_view task, Target target) {
    using namespace TStringConvertFunction;
    if (task == "hiragana") return Mapping(platform::LCMAP_HIRAGANA);
    if (task == "katakana") return Mapping(platform::LCMAP_KATAKANA);
    if (task == "fullwidth") return Width(platform::LCMAP_FULLWIDTH, target);
    if (task == "halfwidth") return Width(platform::LCMAP_HALFWIDTH, target);
    if (task == "lower") return Mapping(platform::LCMAP_LOWERCASE);
    if (task == "upper") return Mapping(platform::LCMAP_UPPERCASE);
    if (task == "html-escape") return Plain(StringUtility::HtmlEscape);
    if (task == "html-unescape") return Plain(StringUtility::HTMLUnescape);
    if (task == "html-unescape-exact") return Plain(ConvHtmlUnescape);
    if (task == "url-escape")
        return [](const QString& text) { return StringUtility::UrlEncode(text, platform::CodePageSystem); };
    if (task == "url-unescape")
        return [](const QString& text) { return UrlDecodeText(text, platform::CodePageSystem); };
    if (task == "form-url-escape") return Plain(ConvUrlEscape);
    if (task == "form-url-unescape") return Plain(ConvUrlUnescape);
    if (task == "kana-fullwidth") return Plain(StringUtility::ToZenkaku);
    if (task == "capitalize") return Plain(StringUtility::Capitalize);
    return std::nullopt;
}

}  // namespace cli
