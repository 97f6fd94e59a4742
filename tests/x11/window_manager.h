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
    // The probe's connection, open for the manager's life: a closed one's resource ids go to the
    // next client, the program, while the manager may still be acting on the probe's window.
    std::shared_ptr<void> probeConnection_;
};

}  // namespace qex::x11test
