#include "platforms/qt/compositor_watch.h"

#include <cstdlib>
#include <string>

namespace qex {

CompositorWatch::CompositorWatch(xcb_connection_t* connection, xcb_window_t window) : connection_(connection)
{
    auto* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry) {
        return;
    }
    int screen = 0;
    for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection)); roots.rem; xcb_screen_next(&roots)) {
        if (roots.data->root == geometry->root) {
            break;
        }
        ++screen;
    }
    std::free(geometry);
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    auto* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
    if (atom) {
        selection_ = atom->atom;
    }
    std::free(atom);
}

bool CompositorWatch::running()
{
    constexpr auto askEvery = std::chrono::seconds(1);
    const auto now = std::chrono::steady_clock::now();
    if (selection_ == XCB_ATOM_NONE || now - askedAt_ < askEvery) {
        return running_;
    }
    askedAt_ = now;
    auto* owner = xcb_get_selection_owner_reply(connection_, xcb_get_selection_owner(connection_, selection_), nullptr);
    running_ = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    return running_;
}

}  // namespace qex
