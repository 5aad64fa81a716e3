#pragma once

#include <QString>

#include <cstdint>

namespace pavlune {

// One hotkey entry: a key combination, the conversion it runs and the characters it
// applies to. A value: built in one step, copied freely, replaced rather than edited.
class TPavluneKeyConfig {
public:
    // A key code outside the key-name table leaves the entry without a key.
    TPavluneKeyConfig(std::int32_t taskType, bool shift, bool ctrl, bool alt, std::uint16_t key, bool enabled,
                      const QString& caption, std::int32_t target);

    // In force: it has a key and the user switched it on.
    bool IsEnabled() const { return Key != 0 && Enabled; }

    bool operator==(const TPavluneKeyConfig&) const = default;

    bool Shift;
    bool Ctrl;
    bool Alt;
    std::uint16_t Key;  // a virtual-key code of the key-name table, or 0 for none
    bool Enabled;       // the switch as given, whether or not the entry has a key
    std::int32_t TaskType;
    QString Caption;
    QString KeyText;  // MakeKeyText of Shift, Ctrl, Alt and Key
    std::int32_t Target;
};

}  // namespace pavlune
