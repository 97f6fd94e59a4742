#include "platforms/linux/wayland_module.h"
#include "platforms/x11/x11_main.h"

#include <sys/prctl.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char* envOr(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return (value && *value) ? value : fallback;
}

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

// One program for both Linux window systems: a Wayland compositor that answers is preferred,
// since an X server beside it is only there for older programs.
int main()
{
    // Timed waits end within a nanosecond of their deadline rather than the default 50 us:
    // the loop's paces are a handful a frame, so they may as well be exact.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    if (isSet("WAYLAND_DISPLAY")) {
        qex::linux_desktop::runOnWaylandIfCompositor();
    }
    if (isSet("DISPLAY")) {
        qex::x11::run();
    }
    std::fprintf(stderr,
                 "qex-lifts: cannot open a display (DISPLAY=%s, WAYLAND_DISPLAY=%s); "
                 "run it in a desktop session, or without one under xvfb-run\n",
                 envOr("DISPLAY", "unset"), envOr("WAYLAND_DISPLAY", "unset"));
    return EXIT_FAILURE;
}
