#pragma once

#include <cstdint>

namespace platform {

// System-wide hotkeys by id, as the programs register them: a key of the key-name table (a
// Windows virtual-key code) with Alt, Control and Shift in the flag values the ids are stored with.
class HotkeyBackend {
public:
    static constexpr unsigned ModAlt = 0x0001;
    static constexpr unsigned ModControl = 0x0002;
    static constexpr unsigned ModShift = 0x0004;

    virtual ~HotkeyBackend() = default;

    // False when the combination cannot be had (another program holds it, or the keyboard lacks
    // the key); nothing stays registered for the id then.
    virtual bool Register(int id, unsigned modifiers, std::uint16_t virtualKey) = 0;
    // Releases the id; an id that is not registered is ignored.
    virtual void Unregister(int id) = 0;
};

}  // namespace platform
