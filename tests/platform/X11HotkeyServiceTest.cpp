// Runs under an X server of its own (see CMakeLists.txt): real grabs, real key events from xdotool.
#include "platform/X11HotkeyService.h"
#include "platform/X11Keymap.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include <cstdlib>

using platform::HotkeyBackend;
using platform::X11HotkeyService;

namespace {

// A second X client, to hold combinations the way another program would.
class OtherClient {
public:
    OtherClient() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~OtherClient() { xcb_disconnect(connection_); }

    bool Grab(std::uint16_t virtualKey, std::uint16_t modifiers) {
        const xcb_keycode_t keycode = Keycode(virtualKey);
        xcb_generic_error_t* error = xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keycode, XCB_GRAB_MODE_ASYNC,
                                              XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }
    void Ungrab(std::uint16_t virtualKey, std::uint16_t modifiers) {
        xcb_ungrab_key(connection_, Keycode(virtualKey), root_, modifiers);
        xcb_flush(connection_);
    }

private:
    xcb_keycode_t Keycode(std::uint16_t virtualKey) {
        return static_cast<xcb_keycode_t>(
            platform::X11Keymap::FromServer(connection_).KeycodesForVirtualKey(virtualKey).at(0));
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
};

void Xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0);
}

// The ids reported within a short while after the keys were typed.
QList<int> PressedIdsAfter(X11HotkeyService& service, const QStringList& keys) {
    QSignalSpy spy(&service, &X11HotkeyService::HotkeyPressed);
    QStringList arguments{QStringLiteral("key")};
    arguments += keys;
    QProcess::execute(QStringLiteral("xdotool"), arguments);
    QTest::qWait(300);
    QList<int> ids;
    for (const QList<QVariant>& arguments : spy)
        ids.append(arguments.at(0).toInt());
    return ids;
}

TEST(X11HotkeyService, PressIsReportedAsItsIdWhateverTheLockKeys) {
    X11HotkeyService service;
    ASSERT_TRUE(service.Register(7, HotkeyBackend::ModControl, 0x31));
    EXPECT_EQ(PressedIdsAfter(service, {"ctrl+1"}), QList<int>{7});
    Xdotool({"key", "Num_Lock", "Caps_Lock"});
    EXPECT_EQ(PressedIdsAfter(service, {"ctrl+1"}), QList<int>{7});
    Xdotool({"key", "Num_Lock", "Caps_Lock"});
    EXPECT_EQ(PressedIdsAfter(service, {"ctrl+shift+1", "1"}), QList<int>{});
    service.Unregister(7);
    EXPECT_EQ(PressedIdsAfter(service, {"ctrl+1"}), QList<int>{});
}

TEST(X11HotkeyService, BareKeyAndKeypadDigitAreGrabbed) {
    X11HotkeyService service;
    ASSERT_TRUE(service.Register(1, 0, 0x41));
    ASSERT_TRUE(service.Register(2, HotkeyBackend::ModAlt | HotkeyBackend::ModShift, 0x65));
    Xdotool({"key", "Num_Lock"});
    EXPECT_EQ(PressedIdsAfter(service, {"a", "alt+shift+KP_5"}), (QList<int>{1, 2}));
    Xdotool({"key", "Num_Lock"});
}

TEST(X11HotkeyService, CombinationHeldElsewhereFailsAndLeavesNoGrabOfOurs) {
    OtherClient other;
    // The other program holds only the CapsLock variant: our plain grab succeeds first, then fails.
    ASSERT_TRUE(other.Grab(0x32, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK));
    X11HotkeyService service;
    EXPECT_FALSE(service.Register(3, HotkeyBackend::ModControl, 0x32));
    other.Ungrab(0x32, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_LOCK);
    EXPECT_TRUE(other.Grab(0x32, XCB_MOD_MASK_CONTROL));
    EXPECT_EQ(PressedIdsAfter(service, {"ctrl+2"}), QList<int>{});
}

TEST(X11HotkeyService, UnregisterAndDestructionReleaseTheCombination) {
    OtherClient other;
    {
        X11HotkeyService service;
        ASSERT_TRUE(service.Register(1, HotkeyBackend::ModControl | HotkeyBackend::ModShift, 0x41));
        ASSERT_TRUE(service.Register(2, HotkeyBackend::ModControl, 0x70));
        EXPECT_FALSE(other.Grab(0x41, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
        service.Unregister(1);
        EXPECT_TRUE(other.Grab(0x41, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
        EXPECT_FALSE(other.Grab(0x70, XCB_MOD_MASK_CONTROL));
    }
    EXPECT_TRUE(other.Grab(0x70, XCB_MOD_MASK_CONTROL));
}

TEST(X11HotkeyService, NewKeyboardLayoutIsGrabbedAgain) {
    X11HotkeyService service;
    ASSERT_TRUE(service.Register(4, HotkeyBackend::ModControl, 0x41));
    ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {"fr"}), 0);
    QTest::qWait(300);
    // On AZERTY "a" is another physical key: only a fresh grab catches it.
    const QList<int> ids = PressedIdsAfter(service, {"ctrl+a"});
    QProcess::execute(QStringLiteral("setxkbmap"), {"us"});
    QTest::qWait(300);
    EXPECT_EQ(ids, QList<int>{4});
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
