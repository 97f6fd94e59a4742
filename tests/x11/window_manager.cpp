#include "window_manager.h"

#include "command.h"
#include "unique_fd.h"

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
}

WindowManager::~WindowManager()
{
    process_->terminate(3s);
}

}  // namespace qex::x11test
