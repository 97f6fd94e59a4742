#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

namespace qex::x11test {

// Moves the pointer through the given pixels of the window's client area as real pointer
// moves that reach the program together: it is stopped while the server takes them in one
// by one, so they wait in its input queue side by side.
void moveInOneBurst(const std::string& display, unsigned long window, pid_t program,
                    const std::vector<std::pair<int, int>>& points);

}  // namespace qex::x11test
