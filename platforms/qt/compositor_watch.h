#pragma once

#include <xcb/xcb.h>

#include <chrono>

namespace qex {

// Whether a compositing manager runs on a window's screen, that is, owns the screen's
// _NET_WM_CM_Sn selection. One can start or stop at any time: the owner is asked again at
// most once a second, and the answer is taken when it has come, never waited for.
class CompositorWatch {
public:
    CompositorWatch(xcb_connection_t* connection, xcb_window_t window);
    ~CompositorWatch();
    CompositorWatch(const CompositorWatch&) = delete;
    CompositorWatch& operator=(const CompositorWatch&) = delete;

    bool running();

private:
    void take(const xcb_get_selection_owner_reply_t* owner);

    xcb_connection_t* connection_;
    xcb_atom_t selection_ = XCB_ATOM_NONE;
    std::chrono::steady_clock::time_point askedAt_{};
    bool asking_ = false;
    xcb_get_selection_owner_cookie_t question_{};  // while asking_, the question not yet answered
    bool running_ = false;
};

}  // namespace qex
