#include "session.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

constexpr auto toolTimeout = 10s;
constexpr auto windowTimeout = 15s;
constexpr auto playLoopTimeout = 15s;
constexpr int stillCaptures = 4;

}  // namespace

const char* programPath()
{
    return QEX_PROGRAM;
}

std::vector<std::string> programCommand()
{
    const std::string runner = QEX_PROGRAM_RUNNER;
    if (runner.empty()) {
        return {programPath()};
    }
    return {runner, programPath()};
}

Session::Session(int scale) : windowManager_(WindowManager::startIfAsked(server_.environment())), scale_(scale)
{
    SpawnOptions options;
    options.argv = programCommand();
    options.environment = server_.environment();
    if (scale != 1) {
        // As a desktop session sets it: the resource database on the server, read at start.
        const auto dpi = "Xft.dpi: " + std::to_string(96 * scale) + "\n";
        const auto set = runCommand({"sh", "-c", "printf '%s' \"$0\" | xrdb -merge -nocpp", dpi},
                                    server_.environment(), toolTimeout);
        if (!set.status.exited || set.status.code != 0) {
            throw std::runtime_error("xrdb could not set Xft.dpi: " + describe(set.status));
        }
    }
    options.stderrFd = stderr_.fd();
    program_ = std::make_unique<ChildProcess>(options);
    window_ = findWindow();
}

std::string Session::findWindow()
{
    // Only the mapped top-level window counts: one still being set up is not the window yet.
    const auto deadline = Clock::now() + windowTimeout;
    while (Clock::now() < deadline) {
        const auto found = runCommand({"xdotool", "search", "--onlyvisible", "--name", "QEX"},
                                      server_.environment(), toolTimeout);
        std::istringstream ids(found.out);
        std::string id;
        if (found.status.exited && found.status.code == 0 && ids >> id) {
            return id;
        }
        if (program_->poll()) {
            break;
        }
        std::this_thread::sleep_for(50ms);
    }
    throw std::runtime_error("the program's window did not appear; " + report());
}

std::string Session::report()
{
    const auto status = program_->poll();
    return "program " + (status ? describe(*status) : std::string("still running")) + ", stderr: \"" +
           stderr_.text() + "\"";
}

std::string Session::tool(const std::vector<std::string>& argv)
{
    const auto result = runCommand(argv, server_.environment(), toolTimeout);
    if (!result.status.exited || result.status.code != 0) {
        throw std::runtime_error(argv.front() + " " + argv.at(1) + " failed: " + describe(result.status));
    }
    return result.out;
}

CommandResult Session::run(const std::vector<std::string>& argv)
{
    return runCommand(argv, server_.environment(), toolTimeout);
}

Screenshot Session::screenshot()
{
    return parseXwd(tool({"xwd", "-id", window_, "-silent"}));
}

Screenshot Session::screenUnderWindow()
{
    const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(display().c_str()), XCloseDisplay);
    Display* x = connection.get();
    const Window root = x ? DefaultRootWindow(x) : 0;
    int left = 0;
    int top = 0;
    Window child = 0;
    if (!x || !XTranslateCoordinates(x, std::stoul(window_), root, 0, 0, &left, &top, &child)) {
        throw std::runtime_error("the window's place on the screen is unknown");
    }
    Screenshot shot{frameWidth + 2 * borderWidth, frameHeight + 2 * borderWidth, {}};
    XImage* image = XGetImage(x, root, left, top, static_cast<unsigned>(shot.width),
                              static_cast<unsigned>(shot.height), AllPlanes, ZPixmap);
    if (!image) {
        throw std::runtime_error("the screen under the window could not be read");
    }
    for (int row = 0; row < shot.height; ++row) {
        for (int col = 0; col < shot.width; ++col) {
            shot.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, col, row)) & 0xFFFFFFu);
        }
    }
    XDestroyImage(image);
    return shot;
}

int Session::holderOnScreen()
{
    return FrameLibrary::instance().identify(screenshot(), scale_);
}

std::optional<Sighting> Session::waitForHolder(const std::function<bool(int)>& wanted, Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    do {
        if (program_->poll()) {
            return std::nullopt;
        }
        const int holder = holderOnScreen();
        if (wanted(holder)) {
            return Sighting{holder, Clock::now()};
        }
    } while (Clock::now() < deadline);
    return std::nullopt;
}

std::optional<int> Session::waitForStillFrame(Clock::duration still, Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    int current = 0;
    int captures = 0;
    Clock::time_point since;
    while (Clock::now() < deadline && !program_->poll()) {
        const auto before = Clock::now();
        const int holder = holderOnScreen();
        if (holder == 0 || holder != current) {
            current = holder;
            captures = holder == 0 ? 0 : 1;
            since = before;
            continue;
        }
        ++captures;
        if (captures >= stillCaptures && Clock::now() - since >= still) {
            return current;
        }
    }
    return std::nullopt;
}

Sighting Session::waitForPlayLoop()
{
    const auto seen = waitForHolder([](int holder) { return holder == 2; }, playLoopTimeout);
    if (!seen) {
        throw std::runtime_error("holder 2 never came on screen; " + report());
    }
    return *seen;
}

int Session::frameAfter(const std::function<void()>& act, int before, Clock::duration timeout)
{
    act();
    if (!waitForHolder([before](int holder) { return holder != 0 && holder != before; }, timeout)) {
        return 0;
    }
    return holderOnScreen();
}

void Session::focus()
{
    tool({"xdotool", "windowfocus", "--sync", window_});
}

void Session::key(const std::string& keysym)
{
    tool({"xdotool", "key", keysym});
}

void Session::moveTo(int x, int y)
{
    tool({"xdotool", "mousemove", "--sync", "--window", window_, std::to_string(x), std::to_string(y)});
}

void Session::click()
{
    tool({"xdotool", "click", "1"});
}

void Session::doubleClick()
{
    tool({"xdotool", "click", "--repeat", "2", "--delay", "80", "1"});
}

}  // namespace qex::x11test
