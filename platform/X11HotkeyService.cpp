#include "platform/X11HotkeyService.h"

#include "platform/Exception.h"
#include "platform/X11KeyTable.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// xkb.h names a struct field "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-keysyms.h>

#include <cstdlib>
#include <memory>

namespace platform {
namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

// The X modifier bit whose key list holds one of the keysym's keys; 0 when none does.
std::uint16_t ModifierMaskOf(xcb_get_modifier_mapping_reply_t* mapping, const X11Keymap& keymap,
                             std::uint32_t keysym) {
    const std::vector<std::uint32_t> keycodes = keymap.KeycodesForKeysym(keysym);
    const xcb_keycode_t* table = xcb_get_modifier_mapping_keycodes(mapping);
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t keycode = table[modifier * perModifier + i];
            for (std::uint32_t wanted : keycodes) {
                if (keycode != 0 && keycode == wanted)
                    return static_cast<std::uint16_t>(1u << modifier);
            }
        }
    }
    return 0;
}

bool IsKeypadDigit(std::uint16_t virtualKey) { return virtualKey >= 0x60 && virtualKey <= 0x69; }

}  // namespace

X11HotkeyService::X11HotkeyService(QObject* parent) : QObject(parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        throw Exception(QStringLiteral("システム全体のホットキーには X11 の画面が必要です。"));
    connection_ = x11->connection();
    root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    ReadKeyboard();  // also makes sure the XKB extension is set up on this connection
    if (const xcb_query_extension_reply_t* xkb = xcb_get_extension_data(connection_, &xcb_xkb_id); xkb && xkb->present)
        xkbFirstEvent_ = xkb->first_event;
    qGuiApp->installNativeEventFilter(this);
}

X11HotkeyService::~X11HotkeyService() {
    if (qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
    for (auto& [id, hotkey] : hotkeys_)
        UngrabAll(hotkey);
    xcb_flush(connection_);
}

void X11HotkeyService::ReadKeyboard() {
    keymap_.emplace(X11Keymap::FromServer(connection_));
    std::unique_ptr<xcb_get_modifier_mapping_reply_t, FreeDeleter> mapping(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr));
    if (!mapping)
        throw Exception(QStringLiteral("キーボードの修飾キーの割り当てを X サーバーから読み取れません。"));
    altMask_ = ModifierMaskOf(mapping.get(), *keymap_, XKB_KEY_Alt_L);
    if (altMask_ == 0)
        altMask_ = XCB_MOD_MASK_1;
    numLockMask_ = ModifierMaskOf(mapping.get(), *keymap_, XKB_KEY_Num_Lock);
    scrollLockMask_ = ModifierMaskOf(mapping.get(), *keymap_, XKB_KEY_Scroll_Lock);
}

bool X11HotkeyService::Register(int id, unsigned modifiers, std::uint16_t virtualKey) {
    Unregister(id);
    Hotkey hotkey{modifiers, virtualKey, {}};
    if (!GrabAll(hotkey))
        return false;
    hotkeys_.emplace(id, std::move(hotkey));
    return true;
}

void X11HotkeyService::Unregister(int id) {
    const auto found = hotkeys_.find(id);
    if (found == hotkeys_.end())
        return;
    UngrabAll(found->second);
    hotkeys_.erase(found);
    xcb_flush(connection_);
}

bool X11HotkeyService::GrabAll(Hotkey& hotkey) {
    std::uint16_t base = 0;
    if (hotkey.modifiers & ModAlt)
        base |= altMask_;
    if (hotkey.modifiers & ModControl)
        base |= XCB_MOD_MASK_CONTROL;
    if (hotkey.modifiers & ModShift)
        base |= XCB_MOD_MASK_SHIFT;

    // Every subset of the lock bits; keypad digits only with NumLock on, as they only type digits then.
    std::vector<std::uint16_t> lockSets{0};
    for (std::uint16_t lock : {std::uint16_t(XCB_MOD_MASK_LOCK), numLockMask_, scrollLockMask_}) {
        if (lock == 0 || (base & lock))
            continue;
        const std::size_t count = lockSets.size();
        for (std::size_t i = 0; i < count; ++i)
            lockSets.push_back(lockSets[i] | lock);
    }
    const bool needsNumLock = IsKeypadDigit(hotkey.virtualKey) && numLockMask_ != 0;

    hotkey.grabs.clear();
    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint32_t keycode : keymap_->KeycodesForVirtualKey(hotkey.virtualKey)) {
        for (std::uint16_t locks : lockSets) {
            if (needsNumLock && !(locks & numLockMask_))
                continue;
            const Grab grab{static_cast<std::uint8_t>(keycode), static_cast<std::uint16_t>(base | locks)};
            cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, grab.modifiers, grab.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            hotkey.grabs.push_back(grab);
        }
    }
    bool refused = hotkey.grabs.empty();  // the keyboard has no such key
    for (xcb_void_cookie_t cookie : cookies) {
        // BadAccess: another client holds this combination.
        std::unique_ptr<xcb_generic_error_t, FreeDeleter> error(xcb_request_check(connection_, cookie));
        refused = refused || error != nullptr;
    }
    if (refused) {
        UngrabAll(hotkey);
        xcb_flush(connection_);
    }
    return !refused;
}

void X11HotkeyService::UngrabAll(Hotkey& hotkey) {
    for (const Grab& grab : hotkey.grabs)
        xcb_ungrab_key(connection_, grab.keycode, root_, grab.modifiers);
    hotkey.grabs.clear();
}

void X11HotkeyService::RegrabAll() {
    regrabQueued_ = false;
    for (auto& [id, hotkey] : hotkeys_)
        UngrabAll(hotkey);
    ReadKeyboard();
    // A combination the new layout cannot give, or that another client took meanwhile, stays
    // without grabs until the hotkeys are registered again.
    for (auto& [id, hotkey] : hotkeys_)
        GrabAll(hotkey);
    xcb_flush(connection_);
}

std::optional<int> X11HotkeyService::HotkeyFor(std::uint8_t keycode, std::uint16_t state) const {
    const std::uint16_t modifiers = state & 0xFF;  // without pointer buttons and XKB group bits
    for (const auto& [id, hotkey] : hotkeys_) {
        for (const Grab& grab : hotkey.grabs) {
            if (grab.keycode == keycode && grab.modifiers == modifiers)
                return id;
        }
    }
    return std::nullopt;
}

bool X11HotkeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7F;
    if (type == XCB_KEY_PRESS) {
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (press->event != root_)
            return false;
        const std::optional<int> id = HotkeyFor(press->detail, press->state);
        if (!id)
            return false;
        // Reading the clipboard waits on other clients: never inside the filter.
        QMetaObject::invokeMethod(this, [this, id = *id] { emit HotkeyPressed(id); }, Qt::QueuedConnection);
        return true;
    }
    bool keyboardChanged = type == XCB_MAPPING_NOTIFY;
    if (xkbFirstEvent_ != 0 && type == xkbFirstEvent_) {
        const std::uint8_t xkbType = reinterpret_cast<const xcb_xkb_map_notify_event_t*>(event)->xkbType;
        keyboardChanged = xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY;
    }
    if (keyboardChanged && !hotkeys_.empty() && !regrabQueued_) {
        regrabQueued_ = true;
        QMetaObject::invokeMethod(this, &X11HotkeyService::RegrabAll, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace platform
