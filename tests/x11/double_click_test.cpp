// The double-click time comes from the desktop's settings daemon (XSETTINGS), which may start
// or change its settings while the program runs; 400 ms where none runs.
#include "ending.h"
#include "session.h"

#include <gtest/gtest.h>

// After the test framework, whose names Xlib's macros would replace.
#include <X11/Xlib.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

constexpr auto clicksApart = 600ms;

// Owns the screen's XSETTINGS selection and publishes one integer setting, as a daemon does.
class SettingsDaemon {
public:
    SettingsDaemon(const std::string& display, int doubleClickMs) : x_(XOpenDisplay(display.c_str()), XCloseDisplay)
    {
        Display* x = x_.get();
        if (!x) throw std::runtime_error("no connection for the settings daemon");
        const Window window = XCreateSimpleWindow(x, DefaultRootWindow(x), 0, 0, 1, 1, 0, 0, 0);
        const Atom selection = XInternAtom(x, "_XSETTINGS_S0", False);
        const Atom settings = XInternAtom(x, "_XSETTINGS_SETTINGS", False);
        // Little-endian: byte order, serial, one setting (integer, name, last-change serial, value).
        const std::string name = "Net/DoubleClickTime";
        std::vector<unsigned char> data = {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0,
                                           static_cast<unsigned char>(name.size()), 0};
        data.insert(data.end(), name.begin(), name.end());
        data.resize((data.size() + 3) / 4 * 4, 0);
        data.insert(data.end(), {0, 0, 0, 0});
        for (int shift = 0; shift < 32; shift += 8) {
            data.push_back(static_cast<unsigned char>(doubleClickMs >> shift));
        }
        XChangeProperty(x, window, settings, settings, 8, PropModeReplace, data.data(), static_cast<int>(data.size()));
        XSetSelectionOwner(x, selection, window, CurrentTime);
        XEvent manager{};
        manager.xclient.type = ClientMessage;
        manager.xclient.window = DefaultRootWindow(x);
        manager.xclient.message_type = XInternAtom(x, "MANAGER", False);
        manager.xclient.format = 32;
        manager.xclient.data.l[0] = CurrentTime;
        manager.xclient.data.l[1] = static_cast<long>(selection);
        manager.xclient.data.l[2] = static_cast<long>(window);
        XSendEvent(x, DefaultRootWindow(x), False, StructureNotifyMask, &manager);
        XSync(x, False);
    }

private:
    std::unique_ptr<Display, int (*)(Display*)> x_;
};

// Two clicks clicksApart on the surface, with a settings daemon publishing `published` ms
// (none for 0): whether they make a double-click, which ends the program.
class DoubleClickTime : public ::testing::TestWithParam<std::pair<int, bool>> {};

TEST_P(DoubleClickTime, DecidesWhetherTwoClicksAreADoubleClick)
{
    const auto [published, ends] = GetParam();
    Session session;
    session.waitForPlayLoop();
    std::unique_ptr<SettingsDaemon> daemon;
    if (published > 0) {
        daemon = std::make_unique<SettingsDaemon>(session.display(), published);
    }
    // The program reads the settings when the daemon announces itself.
    std::this_thread::sleep_for(300ms);
    session.moveTo(100, 100);
    session.click();
    std::this_thread::sleep_for(clicksApart);
    session.click();
    const auto status = session.program().waitForExit(1s);
    EXPECT_EQ(status.has_value(), ends) << "published " << published << " ms; " << session.report();
    if (status) {
        EXPECT_TRUE(status->exited && status->code == 0) << describe(*status);
    }
}

INSTANTIATE_TEST_SUITE_P(Published, DoubleClickTime,
                         ::testing::Values(std::pair{1000, true}, std::pair{150, false}, std::pair{0, false}),
                         [](const auto& info) {
                             return info.param.first ? std::to_string(info.param.first) + "ms" : std::string("none");
                         });

}  // namespace
}  // namespace qex::x11test
