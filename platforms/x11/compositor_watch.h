#pragma once

#include <xcb/xcb.h>

#include <chrono>

namespace qex::x11 {

// Whether a compositing manager runs on the screen, that is, owns its _NET_WM_CM_Sn selection.
// One can start or stop at any time: the owner is asked again at most once a second, and the
// answer is taken when it has come, never waited for.
class CompositorWatch {
public:
    // Asks at once; the first answer is taken by the first call to running().
    CompositorWatch(xcb_connection_t* connection, xcb_atom_t selection);
    ~CompositorWatch();
    CompositorWatch(const CompositorWatch&) = delete;
    CompositorWatch& operator=(const CompositorWatch&) = delete;

    bool running();

private:
    xcb_connection_t* connection_;
    xcb_atom_t selection_;
    std::chrono::steady_clock::time_point askedAt_{};
    bool asking_ = false;
    bool answered_ = false;
    xcb_get_selection_owner_cookie_t question_{};  // while asking_, the question not yet answered
    bool running_ = false;
};

}  // namespace qex::x11
