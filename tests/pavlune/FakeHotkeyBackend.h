#pragma once

#include "platform/HotkeyBackend.h"

#include <cstdint>
#include <map>
#include <set>
#include <utility>
#include <vector>

// Records what is registered; refuses the combinations another program is said to hold.
class FakeHotkeyBackend : public platform::HotkeyBackend {
public:
    bool Register(int id, unsigned modifiers, std::uint16_t virtualKey) override {
        asked.push_back(id);
        if (heldElsewhere.contains({modifiers, virtualKey}))
            return false;
        live[id] = {modifiers, virtualKey};
        return true;
    }
    void Unregister(int id) override { live.erase(id); }

    std::set<std::pair<unsigned, std::uint16_t>> heldElsewhere;
    std::map<int, std::pair<unsigned, std::uint16_t>> live;
    std::vector<int> asked;
};
