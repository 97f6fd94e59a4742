#include "platforms/qt/compositor_watch.h"

#include <xcb/xcbext.h>

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
    if (selection_ != XCB_ATOM_NONE) {
        // The first frame already needs the answer: asked once, at start-up, and waited for.
        auto* owner = xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection_), nullptr);
        take(owner);
        std::free(owner);
        askedAt_ = std::chrono::steady_clock::now();
    }
}

void CompositorWatch::take(const xcb_get_selection_owner_reply_t* owner)
{
    running_ = owner && owner->owner != XCB_WINDOW_NONE;
}

CompositorWatch::~CompositorWatch()
{
    if (asking_) {
        xcb_discard_reply(connection_, question_.sequence);
    }
}

bool CompositorWatch::running()
{
    if (asking_) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(connection_, question_.sequence, &reply, &error)) {
            take(static_cast<const xcb_get_selection_owner_reply_t*>(reply));
            std::free(reply);
            std::free(error);
            asking_ = false;
        }
    }
    constexpr auto askEvery = std::chrono::seconds(1);
    const auto now = std::chrono::steady_clock::now();
    if (selection_ != XCB_ATOM_NONE && !asking_ && now - askedAt_ >= askEvery) {
        askedAt_ = now;
        // Goes out with the next flush, which the frame's copy makes.
        question_ = xcb_get_selection_owner(connection_, selection_);
        asking_ = true;
    }
    return running_;
}

}  // namespace qex
