#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace pavlune {

// One key an entry may use: its Windows virtual-key code and the name shown for it.
class TKeyMap {
public:
    TKeyMap(std::uint16_t code, const QString& name) : Code(code), Name(name) {}

    std::uint16_t GetCode() const { return Code; }
    QString GetName() const { return Name; }

private:
    std::uint16_t Code;
    QString Name;
};

// The 70 keys an entry may use, in their fixed order: letters, digits, keypad digits,
// F1 to F12, then the twelve punctuation keys of the Japanese keyboard.
std::vector<TKeyMap> GetKeyMapList();

// The row with that code, or code 0 named "ERROR" when the table has none.
TKeyMap FindKeyMap(std::uint16_t code);
bool IsKeyMapCode(std::uint16_t code);

// "[Shift] + [Ctrl] + [Alt] + <key name>" with the modifiers that are set; empty without a key.
QString MakeKeyText(bool shift, bool ctrl, bool alt, std::uint16_t key);

}  // namespace pavlune
