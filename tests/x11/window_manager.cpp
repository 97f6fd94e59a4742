#include "window_manager.h"

#include "command.h"
#include "unique_fd.h"

#include <X11/Xlib.h>
#include <fcntl.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 15s;

// A running window manager names its check window on the root (the EWMH handshake).
bool managing(const Environment& display)
{
    const auto check = runCommand({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}, display, 5s);
    return check.status.exited && check.status.code == 0 && check.out.find("window id") != std::string::npos;
}

// A manager that has named its check window may still be starting up: openbox drops the map
// requests it gets meanwhile, and metacity frames windows it finds half made. It is ready once
// it manages a window of ours (sets its WM_STATE); a request lost to the start-up is repeated.
bool managesWindows(Display* x, Clock::time_point deadline)
{
    if (!x) {
        return false;
    }
    const Atom wmState = XInternAtom(x, "WM_STATE", False);
    const Window probe = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
    const auto managed = [&] {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const bool has = XGetWindowProperty(x, probe, wmState, 0, 2, False, AnyPropertyType, &type, &format, &items,
                                            &after, &data) == Success &&
                         type != None;
        XFree(data);
        return has;
    };
    bool ready = false;
    while (!ready && Clock::now() < deadline) {
        XMapWindow(x, probe);
        for (const auto asked = Clock::now(); !ready && Clock::now() - asked < 500ms;) {
            std::this_thread::sleep_for(20ms);
            ready = managed();
        }
        if (!ready) {
            XUnmapWindow(x, probe);
        }
    }
    XDestroyWindow(x, probe);
    XSync(x, False);
    return ready;
}

}  // namespace

std::unique_ptr<WindowManager> WindowManager::startIfAsked(const Environment& display)
{
    const char* command = std::getenv("QEX_TEST_WINDOW_MANAGER");
    if (!command || !*command) {
        return nullptr;
    }
    return std::unique_ptr<WindowManager>(new WindowManager(command, display));
}

WindowManager::WindowManager(const std::string& command, const Environment& display)
{
    SpawnOptions options;
    std::istringstream words(command);
    for (std::string word; words >> word;) {
        options.argv.push_back(word);
    }
    options.environment = display;
    // Its warnings about a bare test display would bury the tests' own output.
    const Fd devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    options.stderrFd = devNull.get();
    process_ = std::make_unique<ChildProcess>(options);
    const auto deadline = Clock::now() + startTimeout;
    while (!managing(display)) {
        if (process_->poll() || Clock::now() > deadline) {
            throw std::runtime_error("the window manager \"" + command + "\" did not start");
        }
        std::this_thread::sleep_for(50ms);
    }
    Display* probe = XOpenDisplay(display.get("DISPLAY").c_str());
    probeConnection_ = std::shared_ptr<void>(probe, [](void* x) {
        if (x) XCloseDisplay(static_cast<Display*>(x));
    });
    if (!managesWindows(probe, deadline)) {
        throw std::runtime_error("the window manager \"" + command + "\" manages no windows");
    }
}

WindowManager::~WindowManager()
{
    process_->terminate(3s);
}

}  // namespace qex::x11test
