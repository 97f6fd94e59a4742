#include "platforms/x11/compositor_watch.h"

#include <xcb/xcbext.h>

#include <cstdlib>

namespace qex::x11 {

CompositorWatch::CompositorWatch(xcb_connection_t* connection, xcb_atom_t selection)
    : connection_(connection), selection_(selection)
{
    question_ = xcb_get_selection_owner(connection_, selection_);
    asking_ = true;
    askedAt_ = std::chrono::steady_clock::now();
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
        // The first frame already needs the answer: that one is waited for, once, at start-up.
        const bool came = answered_ ? xcb_poll_for_reply(connection_, question_.sequence, &reply, &error) != 0
                                    : (reply = xcb_get_selection_owner_reply(connection_, question_, &error), true);
        if (came) {
            const auto* owner = static_cast<const xcb_get_selection_owner_reply_t*>(reply);
            running_ = owner && owner->owner != XCB_WINDOW_NONE;
            std::free(reply);
            std::free(error);
            asking_ = false;
            answered_ = true;
        }
    }
    constexpr auto askEvery = std::chrono::seconds(1);
    const auto now = std::chrono::steady_clock::now();
    if (!asking_ && now - askedAt_ >= askEvery) {
        askedAt_ = now;
        // Goes out with the next flush, which the frame's copy makes.
        question_ = xcb_get_selection_owner(connection_, selection_);
        asking_ = true;
    }
    return running_;
}

}  // namespace qex::x11
