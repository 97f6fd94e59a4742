#pragma once

namespace qex::x11 {

// Opens the window on the X display that DISPLAY names and plays until the program ends.
// A display that cannot be opened, or lost later, ends it with one line naming it and status 1.
[[noreturn]] void run();

}  // namespace qex::x11
