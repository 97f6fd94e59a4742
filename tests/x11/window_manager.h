#pragma once

#include "process.h"

#include <memory>
#include <string>

namespace qex::x11test {

// The window manager named by QEX_TEST_WINDOW_MANAGER (a command line, split on spaces), run
// on a session's X server; tests without the variable run with no window manager.
class WindowManager {
public:
    // Null when no window manager is asked for; throws when the one asked for does not start.
    static std::unique_ptr<WindowManager> startIfAsked(const Environment& display);
    ~WindowManager();

private:
    WindowManager(const std::string& command, const Environment& display);

    std::unique_ptr<ChildProcess> process_;
};

}  // namespace qex::x11test
