#include "pavlune/TaskConversion.h"

#include "conversion/StringUtility.h"
#include "conversion/TStringConvertFunction.h"
#include "pavlune/TaskTypes.h"
#include "platform/LocaleMapping.h"

namespace pavlune {

using namespace TStringConvertFunction;

QString ConvertByTask(std::int32_t taskType, std::int32_t target, const QString& text) {
    switch (taskType) {
    case ttHiragana:
        return MapString(text, platform::LCMAP_HIRAGANA);
    case ttKatakana:
        return MapString(text, platform::LCMAP_KATAKANA);
    case ttFullWidth:
        switch (target) {
        case tgAlpha: return AlphaToZenkaku(text);
        case tgDigit: return DigitToZenkaku(text);
        case tgAlphaNumeric: return AlnumToZenkaku(text);
        default: return MapString(text, platform::LCMAP_FULLWIDTH);
        }
    case ttHalfWidth:
        switch (target) {
        case tgAlpha: return AlphaToHankaku(text);
        case tgDigit: return DigitToHankaku(text);
        case tgAlphaNumeric: return AlnumToHankaku(text);
        default: return MapString(text, platform::LCMAP_HALFWIDTH);
        }
    case ttLowerCase:
        return MapString(text, platform::LCMAP_LOWERCASE);
    case ttUpperCase:
        return MapString(text, platform::LCMAP_UPPERCASE);
    case ttHtmlEscape:
        return StringUtility::HtmlEscape(text);
    case ttHtmlUnescape:
        return StringUtility::HTMLUnescape(text);
    case ttUrlEncode:
        return StringUtility::UrlEncode(text, 0);
    case ttUrlDecode:
        return UrlDecodeText(text, 0);
    case ttKanaFullWidth:
        return StringUtility::ToZenkaku(text);
    case ttCapitalize:
        return StringUtility::Capitalize(text);
    default:
        return text;
    }
}

}  // namespace pavlune
