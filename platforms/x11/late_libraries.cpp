#include "platforms/x11/late_libraries.h"

#include "platforms/linux/shared_library.h"

// Looks a function up by the member's own name, so that the two cannot differ.
#define QEX_FIND(library, table, name) (library).find(#name, (table).name)

namespace qex::x11 {
namespace {

XkbFunctions loadXkb()
{
    static const SharedLibrary library("libxkbcommon-x11.so.0");
    XkbFunctions f{};
    const bool all = QEX_FIND(library, f, xkb_x11_setup_xkb_extension) &&
                     QEX_FIND(library, f, xkb_x11_get_core_keyboard_device_id) &&
                     QEX_FIND(library, f, xkb_x11_keymap_new_from_device) &&
                     QEX_FIND(library, f, xkb_x11_state_new_from_device) && QEX_FIND(library, f, xkb_context_new) &&
                     QEX_FIND(library, f, xkb_context_unref) && QEX_FIND(library, f, xkb_keymap_unref) &&
                     QEX_FIND(library, f, xkb_state_unref) && QEX_FIND(library, f, xkb_state_update_mask) &&
                     QEX_FIND(library, f, xkb_state_key_get_utf32) &&
                     QEX_FIND(library, f, xcb_xkb_select_events_aux);
    return all ? f : XkbFunctions{};
}

RandrFunctions loadRandr()
{
    static const SharedLibrary library("libxcb-randr.so.0");
    RandrFunctions f{};
    const bool all = QEX_FIND(library, f, xcb_randr_id) && QEX_FIND(library, f, xcb_randr_query_version) &&
                     QEX_FIND(library, f, xcb_randr_get_screen_resources_current) &&
                     QEX_FIND(library, f, xcb_randr_get_screen_resources_current_crtcs) &&
                     QEX_FIND(library, f, xcb_randr_get_screen_resources_current_crtcs_length) &&
                     QEX_FIND(library, f, xcb_randr_get_screen_resources_current_modes) &&
                     QEX_FIND(library, f, xcb_randr_get_screen_resources_current_modes_length) &&
                     QEX_FIND(library, f, xcb_randr_get_crtc_info);
    return all ? f : RandrFunctions{};
}

}  // namespace

const XkbFunctions* XkbFunctions::get()
{
    static const XkbFunctions functions = loadXkb();
    return functions.xkb_context_new ? &functions : nullptr;
}

const RandrFunctions* RandrFunctions::get()
{
    static const RandrFunctions functions = loadRandr();
    return functions.xcb_randr_id ? &functions : nullptr;
}

}  // namespace qex::x11
