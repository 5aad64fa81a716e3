#include "pavlune/ActiveHotkeys.h"
#include "tests/pavlune/FakeHotkeyBackend.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

using pavlune::TPavluneKeyConfig;
using platform::HotkeyBackend;

namespace {

TPavluneKeyConfig Entry(bool shift, bool ctrl, bool alt, std::uint16_t key, bool enabled = true) {
    return TPavluneKeyConfig(0, shift, ctrl, alt, key, enabled, QStringLiteral("ひらがなに変換する"), 0);
}

TEST(RegisterHotKeys, EntriesInForceGetTheirPositionAsIdAndTheirFlags) {
    FakeHotkeyBackend backend;
    std::set<int> ids;
    const std::vector<TPavluneKeyConfig> entries{
        Entry(false, true, false, 0x31),
        Entry(false, true, false, 0x32, false),  // switched off
        Entry(true, true, true, 0x7B),
        Entry(false, true, false, 0x0D),         // Enter is no table key: no key, not in force
        Entry(false, false, false, 0x41),        // bare key
    };
    ASSERT_TRUE(pavlune::RegisterHotKeys(entries, backend, ids));
    EXPECT_EQ(ids, (std::set<int>{0, 2, 4}));
    const std::map<int, std::pair<unsigned, std::uint16_t>> expected{
        {0, {HotkeyBackend::ModControl, 0x31}},
        {2, {HotkeyBackend::ModAlt | HotkeyBackend::ModControl | HotkeyBackend::ModShift, 0x7B}},
        {4, {0u, 0x41}},
    };
    EXPECT_EQ(backend.live, expected);
}

TEST(RegisterHotKeys, StopsAtTheFirstRefusalAndUnregisterReleasesWhatWasMade) {
    FakeHotkeyBackend backend;
    backend.heldElsewhere.insert({HotkeyBackend::ModControl, 0x32});
    std::set<int> ids;
    const std::vector<TPavluneKeyConfig> entries{Entry(false, true, false, 0x31), Entry(false, true, false, 0x32),
                                                 Entry(false, true, false, 0x33)};
    EXPECT_FALSE(pavlune::RegisterHotKeys(entries, backend, ids));
    EXPECT_EQ(ids, std::set<int>{0});
    EXPECT_EQ(backend.asked, (std::vector<int>{0, 1}));  // later entries are not tried
    pavlune::UnregisterHotKeys(backend, ids);
    EXPECT_TRUE(ids.empty());
    EXPECT_TRUE(backend.live.empty());
}

TEST(RegisterHotKeys, SecondEntryWithTheSameCombinationFailsWithoutAskingTheSystem) {
    FakeHotkeyBackend backend;
    std::set<int> ids;
    const std::vector<TPavluneKeyConfig> entries{Entry(true, true, false, 0x31), Entry(false, true, false, 0x31),
                                                 Entry(true, true, false, 0x31)};
    EXPECT_FALSE(pavlune::RegisterHotKeys(entries, backend, ids));
    EXPECT_EQ(ids, (std::set<int>{0, 1}));
    EXPECT_EQ(backend.asked, (std::vector<int>{0, 1}));
}

TEST(RegisterHotKeys, SameKeyOnASwitchedOffEntryIsNoClash) {
    FakeHotkeyBackend backend;
    std::set<int> ids;
    const std::vector<TPavluneKeyConfig> entries{Entry(false, true, false, 0x31, false), Entry(false, true, false, 0x31)};
    EXPECT_TRUE(pavlune::RegisterHotKeys(entries, backend, ids));
    EXPECT_EQ(ids, std::set<int>{1});
}

TEST(MakeBalloonText, OneCrLfLinePerEntryInForce) {
    const std::vector<TPavluneKeyConfig> entries{
        TPavluneKeyConfig(0, false, true, false, 0x31, true, QStringLiteral("ひらがなに変換する"), 0),
        TPavluneKeyConfig(1, false, true, false, 0x32, false, QStringLiteral("カタカナに変換する"), 0),
        TPavluneKeyConfig(11, true, true, false, 0x32, true, QStringLiteral("大文字で始める"), 0),
    };
    EXPECT_EQ(pavlune::MakeBalloonText(entries),
              QStringLiteral("ひらがなに変換する:[Ctrl] + 1\r\n大文字で始める:[Shift] + [Ctrl] + 2\r\n"));
    EXPECT_EQ(pavlune::MakeBalloonText({entries[1]}), QString());
}

}  // namespace
