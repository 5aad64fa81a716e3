#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace platform {

// One keyboard layout as XKB describes it, and the two ways between its physical keys (X keycodes)
// and the virtual-key codes of the key-name table.
class X11Keymap {
public:
    // The layout the X server's core keyboard has now. Throws platform::Exception when the server
    // gives none.
    static X11Keymap FromServer(xcb_connection_t* connection);
    // A layout compiled from the XKB rules files, as setxkbmap would choose it (no server needed).
    static X11Keymap FromNames(const char* rules, const char* model, const char* layout, const char* variant);

    // The virtual-key code of a physical key: the first keysym of its unshifted-to-shifted levels
    // that is a letter, digit, keypad digit or function key, else the key's position when it is one
    // of the twelve punctuation keys; 0 when neither.
    std::uint16_t VirtualKeyForKeycode(std::uint32_t keycode) const;
    // Every physical key whose virtual-key code is the one given (usually one, none when the layout
    // lacks the key).
    std::vector<std::uint32_t> KeycodesForVirtualKey(std::uint16_t virtualKey) const;
    // Every physical key that carries the keysym on some level (used for modifier and lock keys).
    std::vector<std::uint32_t> KeycodesForKeysym(std::uint32_t keysym) const;

private:
    struct ContextDeleter { void operator()(xkb_context* context) const; };
    struct KeymapDeleter { void operator()(xkb_keymap* keymap) const; };

    X11Keymap(std::unique_ptr<xkb_context, ContextDeleter> context, std::unique_ptr<xkb_keymap, KeymapDeleter> keymap);

    std::unique_ptr<xkb_context, ContextDeleter> context_;
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap_;
};

}  // namespace platform
