#include "pavlune/KeyNames.h"

#include <algorithm>

namespace pavlune {

namespace {

std::vector<TKeyMap> BuildKeyMapList()
{
    std::vector<TKeyMap> rows;
    rows.reserve(70);
    for (char16_t letter = u'a'; letter <= u'z'; ++letter)
        rows.emplace_back(static_cast<std::uint16_t>(0x41 + (letter - u'a')), QString(QChar(letter)));
    for (int digit = 0; digit <= 9; ++digit)
        rows.emplace_back(static_cast<std::uint16_t>(0x30 + digit), QString::number(digit));
    for (int digit = 0; digit <= 9; ++digit)  // the numeric keypad
        rows.emplace_back(static_cast<std::uint16_t>(0x60 + digit), QString::number(digit));
    for (int number = 1; number <= 12; ++number)
        rows.emplace_back(static_cast<std::uint16_t>(0x70 + number - 1), QStringLiteral("F%1").arg(number));
    // The legends of the punctuation keys on the Japanese 106/109-key keyboard.
    const std::pair<std::uint16_t, const char16_t*> punctuation[] = {
        {0xBA, u":"}, {0xBB, u";"}, {0xBC, u","}, {0xBD, u"-"}, {0xBE, u"."}, {0xBF, u"/"},
        {0xC0, u"@"}, {0xDB, u"["}, {0xDC, u"\\"}, {0xDD, u"]"}, {0xDE, u"^"}, {0xE2, u"\\"},
    };
    for (const auto& [code, name] : punctuation)
        rows.emplace_back(code, QString::fromUtf16(name));
    return rows;
}

const std::vector<TKeyMap>& KeyMapRows()
{
    static const std::vector<TKeyMap> rows = BuildKeyMapList();
    return rows;
}

const TKeyMap* FindRow(std::uint16_t code)
{
    const auto& rows = KeyMapRows();
    const auto found = std::find_if(rows.begin(), rows.end(), [code](const TKeyMap& row) { return row.GetCode() == code; });
    return found == rows.end() ? nullptr : &*found;
}

}  // namespace

std::vector<TKeyMap> GetKeyMapList()
{
    return KeyMapRows();
}

TKeyMap FindKeyMap(std::uint16_t code)
{
    const TKeyMap* row = FindRow(code);
    return row ? *row : TKeyMap(0, QStringLiteral("ERROR"));
}

bool IsKeyMapCode(std::uint16_t code)
{
    return FindRow(code) != nullptr;
}

QString MakeKeyText(bool shift, bool ctrl, bool alt, std::uint16_t key)
{
    if (key == 0)
        return QString();
    QString text;
    if (shift)
        text += QStringLiteral("[Shift] + ");
    if (ctrl)
        text += QStringLiteral("[Ctrl] + ");
    if (alt)
        text += QStringLiteral("[Alt] + ");
    return text + FindKeyMap(key).GetName();
}

}  // namespace pavlune
