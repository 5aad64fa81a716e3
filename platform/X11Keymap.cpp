#include "platform/X11Keymap.h"

#include "platform/Exception.h"
#include "platform/X11KeyTable.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace platform {

void X11Keymap::ContextDeleter::operator()(xkb_context* context) const { xkb_context_unref(context); }
void X11Keymap::KeymapDeleter::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }

X11Keymap::X11Keymap(std::unique_ptr<xkb_context, ContextDeleter> context,
                     std::unique_ptr<xkb_keymap, KeymapDeleter> keymap)
    : context_(std::move(context)), keymap_(std::move(keymap)) {}

X11Keymap X11Keymap::FromServer(xcb_connection_t* connection) {
    std::unique_ptr<xkb_context, ContextDeleter> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const QString failure = QStringLiteral("キーボードの配列を X サーバーから読み取れません。");
    if (!context)
        throw Exception(failure);
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        throw Exception(failure);
    const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        throw Exception(failure);
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap(
        xkb_x11_keymap_new_from_device(context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        throw Exception(failure);
    return X11Keymap(std::move(context), std::move(keymap));
}

X11Keymap X11Keymap::FromNames(const char* rules, const char* model, const char* layout, const char* variant) {
    std::unique_ptr<xkb_context, ContextDeleter> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    const xkb_rule_names names{rules, model, layout, variant, nullptr};
    std::unique_ptr<xkb_keymap, KeymapDeleter> keymap;
    if (context)
        keymap.reset(xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        throw Exception(QStringLiteral("キーボードの配列 %1 を組み立てられません。").arg(QString::fromUtf8(layout)));
    return X11Keymap(std::move(context), std::move(keymap));
}

std::uint16_t X11Keymap::VirtualKeyForKeycode(std::uint32_t keycode) const {
    xkb_keymap* keymap = keymap_.get();
    const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap, keycode);
    for (xkb_layout_index_t layout = 0; layout < layouts; ++layout) {
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, keycode, layout);
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, keycode, layout, level, &syms);
            for (int i = 0; i < count; ++i) {
                if (const std::uint16_t virtualKey = VirtualKeyForKeysym(syms[i]))
                    return virtualKey;
            }
        }
    }
    const char* name = xkb_keymap_key_get_name(keymap, keycode);
    return name ? VirtualKeyForKeyName(name) : 0;
}

std::vector<std::uint32_t> X11Keymap::KeycodesForVirtualKey(std::uint16_t virtualKey) const {
    std::vector<std::uint32_t> keycodes;
    if (virtualKey == 0)
        return keycodes;
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap_.get());
    for (xkb_keycode_t keycode = xkb_keymap_min_keycode(keymap_.get()); keycode <= last; ++keycode) {
        if (VirtualKeyForKeycode(keycode) == virtualKey)
            keycodes.push_back(keycode);
    }
    return keycodes;
}

std::vector<std::uint32_t> X11Keymap::KeycodesForKeysym(std::uint32_t keysym) const {
    std::vector<std::uint32_t> keycodes;
    xkb_keymap* keymap = keymap_.get();
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t keycode = xkb_keymap_min_keycode(keymap); keycode <= last; ++keycode) {
        bool found = false;
        const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap, keycode);
        for (xkb_layout_index_t layout = 0; layout < layouts && !found; ++layout) {
            const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, keycode, layout);
            for (xkb_level_index_t level = 0; level < levels && !found; ++level) {
                const xkb_keysym_t* syms = nullptr;
                const int count = xkb_keymap_key_get_syms_by_level(keymap, keycode, layout, level, &syms);
                for (int i = 0; i < count && !found; ++i)
                    found = syms[i] == keysym;
            }
        }
        if (found)
            keycodes.push_back(keycode);
    }
    return keycodes;
}

}  // namespace platform
