#pragma once

#include "platform/HotkeyBackend.h"
#include "platform/X11Keymap.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace platform {

// System-wide hotkeys on X11: each hotkey is a passive grab of its key on the root window, made
// once for every combination of the lock modifiers (CapsLock, NumLock, ScrollLock) so that it fires
// whatever the lock state. Presses are picked out of Qt's event stream by a native event filter and
// reported through HotkeyPressed once the filter has returned.
class X11HotkeyService : public QObject, public HotkeyBackend, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Needs the application to run on Qt's xcb platform; throws platform::Exception otherwise.
    explicit X11HotkeyService(QObject* parent = nullptr);
    ~X11HotkeyService() override;

    bool Register(int id, unsigned modifiers, std::uint16_t virtualKey) override;
    void Unregister(int id) override;

signals:
    // Queued: the receiver runs from the event loop, never inside the filter.
    void HotkeyPressed(int id);

private:
    struct Grab {
        std::uint8_t keycode;
        std::uint16_t modifiers;  // X modifier mask, lock bits included
    };
    struct Hotkey {
        unsigned modifiers;
        std::uint16_t virtualKey;
        std::vector<Grab> grabs;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    void ReadKeyboard();
    // Grabs every combination of the hotkey; on the first refusal releases what it grabbed.
    bool GrabAll(Hotkey& hotkey);
    void UngrabAll(Hotkey& hotkey);
    void RegrabAll();
    std::optional<int> HotkeyFor(std::uint8_t keycode, std::uint16_t state) const;

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint8_t xkbFirstEvent_ = 0;
    std::optional<X11Keymap> keymap_;
    std::uint16_t altMask_ = 0;
    std::uint16_t numLockMask_ = 0;
    std::uint16_t scrollLockMask_ = 0;
    bool regrabQueued_ = false;
    std::map<int, Hotkey> hotkeys_;
};

}  // namespace platform
