#include "pavlune/ActiveHotkeys.h"

#include <utility>

namespace pavlune {

using platform::HotkeyBackend;

unsigned HotkeyModifiersOf(const TPavluneKeyConfig& entry) {
    return (entry.Alt ? HotkeyBackend::ModAlt : 0u) | (entry.Ctrl ? HotkeyBackend::ModControl : 0u) |
           (entry.Shift ? HotkeyBackend::ModShift : 0u);
}

bool RegisterHotKeys(const std::vector<TPavluneKeyConfig>& entries, HotkeyBackend& backend,
                     std::set<int>& registeredIds) {
    registeredIds.clear();
    std::set<std::pair<unsigned, std::uint16_t>> combinations;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TPavluneKeyConfig& entry = entries[i];
        if (!entry.IsEnabled())
            continue;
        const int id = static_cast<int>(i);
        const unsigned modifiers = HotkeyModifiersOf(entry);
        if (!combinations.insert({modifiers, entry.Key}).second)
            return false;
        if (!backend.Register(id, modifiers, entry.Key))
            return false;
        registeredIds.insert(id);
    }
    return true;
}

void UnregisterHotKeys(HotkeyBackend& backend, std::set<int>& registeredIds) {
    for (int id : registeredIds)
        backend.Unregister(id);
    registeredIds.clear();
}

QString MakeBalloonText(const std::vector<TPavluneKeyConfig>& entries) {
    QString text;
    for (const TPavluneKeyConfig& entry : entries) {
        if (entry.IsEnabled())
            text += entry.Caption + u':' + entry.KeyText + QStringLiteral("\r\n");
    }
    return text;
}

}  // namespace pavlune
