#pragma once

#include <string>

namespace qex::x11test {

// Asks a top-level window to close the way a window manager does: a WM_PROTOCOLS client
// message carrying WM_DELETE_WINDOW. (Destroying the window instead would bypass the
// program's own handling.) Throws if the display cannot be opened.
void sendCloseRequest(const std::string& display, unsigned long window);

}  // namespace qex::x11test
