#pragma once

// xcb's keyboard extension header names a field after a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xcb/randr.h>
#include <xkbcommon/xkbcommon-x11.h>

namespace qex::x11 {

// What the keyboard calls in libxkbcommon-x11 (and, through it, libxkbcommon and libxcb-xkb).
// Keys matter only once the first frame is up, so the libraries are opened then, not at exec.
struct XkbFunctions {
    decltype(&::xkb_x11_setup_xkb_extension) xkb_x11_setup_xkb_extension;
    decltype(&::xkb_x11_get_core_keyboard_device_id) xkb_x11_get_core_keyboard_device_id;
    decltype(&::xkb_x11_keymap_new_from_device) xkb_x11_keymap_new_from_device;
    decltype(&::xkb_x11_state_new_from_device) xkb_x11_state_new_from_device;
    decltype(&::xkb_context_new) xkb_context_new;
    decltype(&::xkb_context_unref) xkb_context_unref;
    decltype(&::xkb_keymap_unref) xkb_keymap_unref;
    decltype(&::xkb_state_unref) xkb_state_unref;
    decltype(&::xkb_state_update_mask) xkb_state_update_mask;
    decltype(&::xkb_state_key_get_utf32) xkb_state_key_get_utf32;
    decltype(&::xcb_xkb_select_events_aux) xcb_xkb_select_events_aux;

    // Opened on the first call; nullptr when a library or a function is missing.
    static const XkbFunctions* get();
};

// What the refresh rate calls in libxcb-randr, opened once the first frame is up.
struct RandrFunctions {
    xcb_extension_t* xcb_randr_id;
    decltype(&::xcb_randr_query_version) xcb_randr_query_version;
    decltype(&::xcb_randr_get_screen_resources_current) xcb_randr_get_screen_resources_current;
    decltype(&::xcb_randr_get_screen_resources_current_crtcs) xcb_randr_get_screen_resources_current_crtcs;
    decltype(&::xcb_randr_get_screen_resources_current_crtcs_length)
        xcb_randr_get_screen_resources_current_crtcs_length;
    decltype(&::xcb_randr_get_screen_resources_current_modes) xcb_randr_get_screen_resources_current_modes;
    decltype(&::xcb_randr_get_screen_resources_current_modes_length)
        xcb_randr_get_screen_resources_current_modes_length;
    decltype(&::xcb_randr_get_crtc_info) xcb_randr_get_crtc_info;

    // Opened on the first call; nullptr when the library or a function is missing.
    static const RandrFunctions* get();
};

}  // namespace qex::x11
