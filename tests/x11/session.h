#pragma once

#include "command.h"
#include "frame_library.h"
#include "process.h"
#include "captured_output.h"
#include "window_manager.h"
#include "x_server.h"
#include "xwd_image.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qex::x11test {

const char* programPath();
// The command line that starts the program: its runner, if any, then the program.
std::vector<std::string> programCommand();

// A frame seen on screen, and when the capture that saw it finished.
struct Sighting {
    int holder = 0;
    Clock::time_point at;
};

// One run of the program on its own X server: starts both, finds the program's window,
// drives input with xdotool and reads the screen with xwd. Everything is torn down when
// the session goes, however the test ended. Setup and tool failures throw.
class Session {
public:
    // scale > 1 starts the program with Xft.dpi set to 96 times it on the server.
    explicit Session(int scale = 1);

    const std::string& window() const { return window_; }
    const std::string& display() const { return server_.display(); }
    ChildProcess& program() { return *program_; }
    // The program's state and what it wrote on stderr, for failure messages.
    std::string report();
    // Everything the program has written on stderr so far.
    std::string errorOutput() const { return stderr_.text(); }
    // Ends this session's X server under the running program.
    void stopXServer() { server_.stop(); }

    // Runs a helper tool against this session's display and returns its output; throws
    // when it fails.
    std::string tool(const std::vector<std::string>& argv);
    // Runs a helper tool whose failure is an answer (a window that no longer exists, a
    // search that finds nothing); throws only when it cannot be run or does not finish.
    CommandResult run(const std::vector<std::string>& argv);

    Screenshot screenshot();
    // What the screen shows where the client area is (under a compositor, the compositor's
    // picture of the window rather than the window's own contents), scale 1.
    Screenshot screenUnderWindow();
    int holderOnScreen();
    // Captures until a frame that `wanted` accepts is on screen; nullopt on timeout or
    // when the program has ended.
    std::optional<Sighting> waitForHolder(const std::function<bool(int)>& wanted, Clock::duration timeout);
    // Captures until one frame has stayed on screen for `still` across at least four
    // captures in a row.
    std::optional<int> waitForStillFrame(Clock::duration still, Clock::duration timeout);
    // Holder 2 is the play loop's first pass; before it the pointer's and the keys'
    // settings would be overwritten by the start-up values.
    Sighting waitForPlayLoop();
    // Does `act`, captures until the frame differs from `before`, and returns what a second
    // capture shows, so a step that overshoots right away is not mistaken for a single one.
    // 0 when the frame did not change in time.
    int frameAfter(const std::function<void()>& act, int before, Clock::duration timeout);

    void focus();
    void key(const std::string& keysym);
    // Moves the pointer to a device pixel of the window's client area.
    void moveTo(int x, int y);
    void click();
    void doubleClick();

private:
    std::string findWindow();

    XServer server_;
    std::unique_ptr<WindowManager> windowManager_;
    CapturedOutput stderr_;
    int scale_;
    std::unique_ptr<ChildProcess> program_;
    std::string window_;
};

}  // namespace qex::x11test
