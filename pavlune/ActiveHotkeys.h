#pragma once

#include "pavlune/TPavluneKeyConfig.h"
#include "platform/HotkeyBackend.h"

#include <QString>

#include <set>
#include <vector>

namespace pavlune {

// The flags an entry registers with: Alt, Control and Shift as the backend counts them.
unsigned HotkeyModifiersOf(const TPavluneKeyConfig& entry);

// Registers every entry in force as a hotkey whose id is its position. Stops at the first
// failure and returns false, leaving the ids registered so far in registeredIds for the caller
// to release. A combination that an earlier entry already holds is a failure too: X11 would let
// the second grab silently replace the first.
bool RegisterHotKeys(const std::vector<TPavluneKeyConfig>& entries, platform::HotkeyBackend& backend,
                     std::set<int>& registeredIds);

// Releases every registered id and empties the set.
void UnregisterHotKeys(platform::HotkeyBackend& backend, std::set<int>& registeredIds);

// One line "caption:key text" per entry in force, each ended by CR LF; empty when none is.
QString MakeBalloonText(const std::vector<TPavluneKeyConfig>& entries);

}  // namespace pavlune
