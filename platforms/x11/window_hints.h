#pragma once

#include "platforms/x11/connection.h"

#include <string_view>

namespace qex::x11 {

// Tells the window manager what the window is, before it is first mapped: its caption, class,
// fixed size, close box without minimize or maximize, close protocol, process, icon and type.
void describeWindow(const Connection& connection, xcb_window_t window, std::string_view caption, int width,
                    int height);

// Asks that the window get no task-bar entry: from a window manager once the window is mapped
// (one that reads it at the first map may deny such a window the focus), or set directly where
// no window manager runs.
void leaveOutOfTaskBar(const Connection& connection, xcb_window_t window, bool managed);

}  // namespace qex::x11
