#pragma once

#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace pavlune {

// The conversion an entry runs on the clipboard text. Stored as a 32-bit signed integer
// and not limited to these values.
enum TTaskType : std::int32_t {
    ttHiragana = 0,
    ttKatakana = 1,
    ttFullWidth = 2,
    ttHalfWidth = 3,
    ttLowerCase = 4,
    ttUpperCase = 5,
    ttHtmlEscape = 6,
    ttHtmlUnescape = 7,
    ttUrlEncode = 8,
    ttUrlDecode = 9,
    ttKanaFullWidth = 10,
    ttCapitalize = 11,
};
constexpr int TaskTypeCount = 12;

// The class of characters a width conversion applies to.
enum TTarget : std::int32_t {
    tgAll = 0,
    tgAlpha = 1,
    tgDigit = 2,
    tgAlphaNumeric = 3,
};
constexpr int TargetCount = 4;

struct TaskTypeText {
    QStringView Name;         // an entry's default description; the item in the task choice
    QStringView Description;  // the longer explanation shown with the choice
};

// Indexed by TTaskType. The doubled ampersands are kept: the texts are shown in widgets
// where a single "&" would mark a mnemonic.
inline constexpr std::array<TaskTypeText, TaskTypeCount> TaskTypeTexts = {{
    {u"ひらがなに変換する", u"ひらがなに変換します"},
    {u"カタカナに変換する", u"カタカナに変換します"},
    {u"全角文字に変換する", u"半角文字を全角に変換します"},
    {u"半角文字に変換する", u"全角文字を半角に変換します"},
    {u"小文字に変換する", u"大文字を小文字に変換します"},
    {u"大文字に変換する", u"小文字を大文字に変換します"},
    {u"HTMLをエスケープする", u"HTMLの特殊文字(<>&&\")をHTMLエンティティに変換します"},
    {u"HTMLのエスケープを外す", u"エスケープされたHTMLエンティティ(&&lt;、&&gt;、&&amp;、&&quot;)を元に戻します"},
    {u"URLをエスケープする", u"URLの使用禁止文字を符号化します"},
    {u"URLのエスケープを外す", u"符号化されたURLを元に戻します"},
    {u"半角カナを全角に変換する", u"半角カナを全角に変換します"},
    {u"大文字で始める", u"先頭の文字を大文字に、それ以外の文字を小文字に変換します"},
}};

// Indexed by TTarget.
inline constexpr std::array<QStringView, TargetCount> TargetNames = {
    u"すべて", u"英字", u"数字", u"英数字",
};

// The targets a task type allows, in ascending order: all four for the two width
// conversions, only tgAll for every other value (also those outside the enumeration).
std::vector<std::int32_t> GetValidTargets(std::int32_t taskType);

}  // namespace pavlune
