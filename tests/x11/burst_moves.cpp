#include "burst_moves.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>

namespace qex::x11test {
namespace {

// Stopping takes effect asynchronously; the moves must not be read before it has.
void stopAndWait(pid_t program)
{
    ::kill(program, SIGSTOP);
    for (int tries = 0; tries < 1000; ++tries) {
        std::ifstream stat("/proc/" + std::to_string(program) + "/stat");
        std::string line;
        std::getline(stat, line);
        const auto close = line.rfind(')');
        if (close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'T') {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    throw std::runtime_error("the program did not stop");
}

}  // namespace

void moveInOneBurst(const std::string& display, unsigned long window, pid_t program,
                    const std::vector<std::pair<int, int>>& points)
{
    const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(display.c_str()), XCloseDisplay);
    if (!connection) {
        throw std::runtime_error("cannot open display " + display);
    }
    Display* x = connection.get();
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(x, window, DefaultRootWindow(x), 0, 0, &rootX, &rootY, &child);
    stopAndWait(program);
    for (const auto& [col, row] : points) {
        XTestFakeMotionEvent(x, DefaultScreen(x), rootX + col, rootY + row, CurrentTime);
        // The server merges moves of one device that it has not yet handled: each is handled,
        // and written to the program's connection, before the next is sent.
        XSync(x, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::kill(program, SIGCONT);
}

}  // namespace qex::x11test
