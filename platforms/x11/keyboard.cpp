#include "platforms/x11/keyboard.h"

#include "platforms/x11/late_libraries.h"

namespace qex::x11 {

Keyboard::Keyboard(const Connection& connection) : connection_(connection), xkb_(XkbFunctions::get())
{
    if (!xkb_) {
        connection.fail("the keyboard library libxkbcommon-x11.so.0 cannot be loaded");
    }
    xcb_connection_t* c = connection.get();
    if (!xkb_->xkb_x11_setup_xkb_extension(c, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent_,
                                     nullptr)) {
        connection.check();
        connection.fail("the server has no usable keyboard extension");
    }
    device_ = xkb_->xkb_x11_get_core_keyboard_device_id(c);
    // The keymap comes whole from the server: no include paths or names from the environment.
    context_ = xkb_->xkb_context_new(static_cast<xkb_context_flags>(XKB_CONTEXT_NO_DEFAULT_INCLUDES |
                                                              XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
    if (device_ < 0 || !context_) {
        connection.fail("the keyboard cannot be read");
    }
    loadKeymap();

    constexpr std::uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                     XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr std::uint16_t mapParts =
        XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
        XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS | XCB_XKB_MAP_PART_VIRTUAL_MODS |
        XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    constexpr std::uint16_t stateParts = XCB_XKB_STATE_PART_MODIFIER_BASE | XCB_XKB_STATE_PART_MODIFIER_LATCH |
                                         XCB_XKB_STATE_PART_MODIFIER_LOCK | XCB_XKB_STATE_PART_GROUP_BASE |
                                         XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = stateParts;
    details.stateDetails = stateParts;
    xkb_->xcb_xkb_select_events_aux(c, static_cast<xcb_xkb_device_spec_t>(device_), events, 0, 0, mapParts, mapParts,
                              &details);
}

Keyboard::~Keyboard()
{
    xkb_->xkb_state_unref(state_);
    xkb_->xkb_keymap_unref(keymap_);
    xkb_->xkb_context_unref(context_);
}

void Keyboard::loadKeymap()
{
    xcb_connection_t* c = connection_.get();
    xkb_keymap* keymap = xkb_->xkb_x11_keymap_new_from_device(context_, c, device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    xkb_state* state = keymap ? xkb_->xkb_x11_state_new_from_device(keymap, c, device_) : nullptr;
    if (!state) {
        xkb_->xkb_keymap_unref(keymap);
        connection_.check();
        if (!state_) {
            connection_.fail("the keyboard's keymap cannot be read");
        }
        return;  // a keymap that cannot be read keeps the one before it
    }
    xkb_->xkb_state_unref(state_);
    xkb_->xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    state_ = state;
}

std::uint32_t Keyboard::character(xcb_keycode_t key) const
{
    return xkb_->xkb_state_key_get_utf32(state_, key);
}

bool Keyboard::handle(const xcb_generic_event_t& event)
{
    if ((event.response_type & 0x7F) != firstEvent_) {
        return false;
    }
    // Every keyboard extension event names its kind in the byte after the event code.
    const auto kind = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event).xkbType;
    if (kind == XCB_XKB_STATE_NOTIFY) {
        const auto& notify = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
        if (notify.deviceID == device_) {
            xkb_->xkb_state_update_mask(state_, notify.baseMods, notify.latchedMods, notify.lockedMods,
                                  static_cast<xkb_layout_index_t>(notify.baseGroup),
                                  static_cast<xkb_layout_index_t>(notify.latchedGroup), notify.lockedGroup);
        }
    } else if (kind == XCB_XKB_NEW_KEYBOARD_NOTIFY) {
        const auto& notify = reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t&>(event);
        if (notify.deviceID == device_ && (notify.changed & XCB_XKB_NKN_DETAIL_KEYCODES)) {
            loadKeymap();
        }
    } else if (kind == XCB_XKB_MAP_NOTIFY) {
        loadKeymap();
    }
    return true;
}

}  // namespace qex::x11
