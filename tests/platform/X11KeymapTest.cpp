#include "platform/Exception.h"
#include "platform/X11KeyTable.h"
#include "platform/X11Keymap.h"

#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon-keysyms.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using platform::X11Keymap;

namespace {

// The 70 codes an entry can hold.
std::vector<std::uint16_t> TableCodes() {
    std::vector<std::uint16_t> codes;
    for (std::uint16_t c = 0x41; c <= 0x5A; ++c) codes.push_back(c);
    for (std::uint16_t c = 0x30; c <= 0x39; ++c) codes.push_back(c);
    for (std::uint16_t c = 0x60; c <= 0x69; ++c) codes.push_back(c);
    for (std::uint16_t c = 0x70; c <= 0x7B; ++c) codes.push_back(c);
    for (std::uint16_t c : {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xE2}) codes.push_back(c);
    return codes;
}

// evdev keycodes (kernel code + 8) of some physical keys.
constexpr std::uint32_t kAE01 = 10, kAE02 = 11, kAD01 = 24, kAC01 = 38, kBKSL = 51, kSpace = 65,
                        kKP5 = 84, kFK12 = 96, kAB11 = 97, kAE13 = 132;

}  // namespace

TEST(X11KeyTable, EveryTableCodeMapsToAnX11KeyAndBack) {
    for (std::uint16_t code : TableCodes()) {
        SCOPED_TRACE(code);
        const auto key = platform::X11KeyForVirtualKey(code);
        ASSERT_TRUE(key.has_value());
        if (key->keyName.empty())
            EXPECT_EQ(platform::VirtualKeyForKeysym(key->keysym), code);
        else
            EXPECT_EQ(platform::VirtualKeyForKeyName(key->keyName), code);
    }
}

TEST(X11KeyTable, KeysOutsideTheTableHaveNoX11Key) {
    for (std::uint16_t code : {0x00, 0x0D, 0x10, 0x20, 0x25, 0x6A, 0x6F, 0x7C, 0xDF, 0xFFFF}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(platform::X11KeyForVirtualKey(code).has_value());
    }
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_space), 0);
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_backslash), 0);  // goes by position only
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_F13), 0);
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_KP_Add), 0);
    EXPECT_EQ(platform::VirtualKeyForKeyName("AE10"), 0);
}

TEST(X11KeyTable, LettersOfEitherCaseAreTheLetterKey) {
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_a), 0x41);
    EXPECT_EQ(platform::VirtualKeyForKeysym(XKB_KEY_Z), 0x5A);
    EXPECT_EQ(platform::VirtualKeyForKeyName("BKSL"), 0xDD);
    EXPECT_EQ(platform::VirtualKeyForKeyName("AC12"), 0xDD);
}

TEST(X11Keymap, JapaneseLayoutKeycodesGiveTheirVirtualKeys) {
    const X11Keymap jp = X11Keymap::FromNames("evdev", "jp106", "jp", "");
    struct Case {
        std::uint32_t keycode;
        std::uint16_t virtualKey;
    };
    for (const Case& c : {
             Case{kAC01, 0x41},
             Case{kAE02, 0x32},   // the key of "2", although Shift on it types a double quote
             Case{kKP5, 0x65},    // keypad 5 (its unshifted level is KP_Begin)
             Case{kFK12, 0x7B},
             Case{kAE13, 0xDC},   // yen
             Case{kAB11, 0xE2},   // backslash / underscore: same keysym as the yen key, other code
             Case{kBKSL, 0xDD},   // "]" on this layout
             Case{kSpace, 0},
         }) {
        SCOPED_TRACE(c.keycode);
        EXPECT_EQ(jp.VirtualKeyForKeycode(c.keycode), c.virtualKey);
    }
}

TEST(X11Keymap, EachTableCodeIsOnePhysicalKeyOfTheJapaneseLayoutAndMapsBack) {
    const X11Keymap jp = X11Keymap::FromNames("evdev", "jp106", "jp", "");
    std::vector<std::uint32_t> seen;
    for (std::uint16_t code : TableCodes()) {
        SCOPED_TRACE(code);
        const std::vector<std::uint32_t> keycodes = jp.KeycodesForVirtualKey(code);
        ASSERT_EQ(keycodes.size(), 1u);
        EXPECT_EQ(jp.VirtualKeyForKeycode(keycodes[0]), code);
        EXPECT_EQ(std::count(seen.begin(), seen.end(), keycodes[0]), 0);
        seen.push_back(keycodes[0]);
    }
}

TEST(X11Keymap, LettersAndDigitsFollowTheLayoutWhilePunctuationStaysInPlace) {
    const X11Keymap us = X11Keymap::FromNames("evdev", "pc105", "us", "");
    const X11Keymap fr = X11Keymap::FromNames("evdev", "pc105", "fr", "");
    EXPECT_EQ(us.KeycodesForVirtualKey(0x41), std::vector<std::uint32_t>{kAC01});
    EXPECT_EQ(fr.KeycodesForVirtualKey(0x41), std::vector<std::uint32_t>{kAD01});  // AZERTY
    EXPECT_EQ(fr.VirtualKeyForKeycode(kAE01), 0x31);  // types "&", shifted "1"
    EXPECT_EQ(us.KeycodesForVirtualKey(0xDC), fr.KeycodesForVirtualKey(0xDC));
    EXPECT_TRUE(us.KeycodesForVirtualKey(0).empty());
    EXPECT_TRUE(us.KeycodesForVirtualKey(0x20).empty());
}

TEST(X11Keymap, FindsModifierKeysByKeysym) {
    const X11Keymap us = X11Keymap::FromNames("evdev", "pc105", "us", "");
    EXPECT_EQ(us.KeycodesForKeysym(XKB_KEY_Num_Lock), std::vector<std::uint32_t>{77});
}

TEST(X11Keymap, UnknownLayoutThrows) {
    EXPECT_THROW(X11Keymap::FromNames("evdev", "pc105", "no-such-layout", ""), platform::Exception);
}
