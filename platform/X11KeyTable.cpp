#include "platform/X11KeyTable.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include <array>

namespace platform {
namespace {

struct PositionRow {
    std::uint16_t virtualKey;
    std::string_view keyName;
    std::string_view aliasName;  // the other name some keycode sets give the same position
};

// Positions as on the Japanese 106/109-key keyboard.
constexpr std::array<PositionRow, 12> kPositions{{
    {0xBD, "AE11", {}},  // -
    {0xDE, "AE12", {}},  // ^
    {0xDC, "AE13", {}},  // yen
    {0xC0, "AD11", {}},  // @
    {0xDB, "AD12", {}},  // [
    {0xBB, "AC10", {}},  // ;
    {0xBA, "AC11", {}},  // :
    {0xDD, "AC12", "BKSL"},  // ]
    {0xBC, "AB08", {}},  // ,
    {0xBE, "AB09", {}},  // .
    {0xBF, "AB10", {}},  // /
    {0xE2, "AB11", {}},  // backslash / underscore
}};

}  // namespace

std::optional<X11Key> X11KeyForVirtualKey(std::uint16_t virtualKey) {
    if (virtualKey >= 0x41 && virtualKey <= 0x5A)
        return X11Key{XKB_KEY_a + (virtualKey - 0x41u), {}};
    if (virtualKey >= 0x30 && virtualKey <= 0x39)
        return X11Key{XKB_KEY_0 + (virtualKey - 0x30u), {}};
    if (virtualKey >= 0x60 && virtualKey <= 0x69)
        return X11Key{XKB_KEY_KP_0 + (virtualKey - 0x60u), {}};
    if (virtualKey >= 0x70 && virtualKey <= 0x7B)
        return X11Key{XKB_KEY_F1 + (virtualKey - 0x70u), {}};
    for (const PositionRow& row : kPositions) {
        if (row.virtualKey == virtualKey)
            return X11Key{0, row.keyName};
    }
    return std::nullopt;
}

std::uint16_t VirtualKeyForKeysym(std::uint32_t keysym) {
    if (keysym >= XKB_KEY_a && keysym <= XKB_KEY_z)
        return static_cast<std::uint16_t>(0x41 + (keysym - XKB_KEY_a));
    if (keysym >= XKB_KEY_A && keysym <= XKB_KEY_Z)
        return static_cast<std::uint16_t>(0x41 + (keysym - XKB_KEY_A));
    if (keysym >= XKB_KEY_0 && keysym <= XKB_KEY_9)
        return static_cast<std::uint16_t>(0x30 + (keysym - XKB_KEY_0));
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
        return static_cast<std::uint16_t>(0x60 + (keysym - XKB_KEY_KP_0));
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F12)
        return static_cast<std::uint16_t>(0x70 + (keysym - XKB_KEY_F1));
    return 0;
}

std::uint16_t VirtualKeyForKeyName(std::string_view keyName) {
    for (const PositionRow& row : kPositions) {
        if (keyName == row.keyName || (!row.aliasName.empty() && keyName == row.aliasName))
            return row.virtualKey;
    }
    return 0;
}

}  // namespace platform
