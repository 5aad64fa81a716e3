#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Where a stored Windows virtual-key code lives on an X11 keyboard. Letters, digits, keypad
// digits and F1 to F12 go by the keysym they type, so Ctrl+A is the key that types "a" whatever
// the layout. The twelve punctuation keys go by physical position (their XKB key name), because
// layouts disagree on what they type: the Japanese layout types a backslash on two of them.
struct X11Key {
    std::uint32_t keysym = 0;        // set for keys found by keysym
    std::string_view keyName;        // set for keys found by position
};

// The X11 key of a virtual-key code of the key-name table; nothing for any other code.
std::optional<X11Key> X11KeyForVirtualKey(std::uint16_t virtualKey);

// The virtual-key code of a keysym: letters of either case, digits, keypad digits, F1 to F12.
// 0 for any other keysym (punctuation goes by position, see VirtualKeyForKeyName).
std::uint16_t VirtualKeyForKeysym(std::uint32_t keysym);

// The virtual-key code of one of the twelve punctuation positions by its XKB key name
// (the evdev name BKSL of AC12 included); 0 for any other name.
std::uint16_t VirtualKeyForKeyName(std::string_view keyName);

}  // namespace platform
