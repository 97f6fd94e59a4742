#include "platforms/wayland/wayland_platform.h"

#include "platforms/linux/poll_until.h"
#include "platforms/linux/process_end.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace qex::wayland {

WaylandPlatform::WaylandPlatform(Connection& connection, Picture1& surface, Keyboard& keyboard,
                                 const frames::FrameSet& frames)
    : DesktopPlatform(surface, frames), connection_(connection), picture1_(surface), keyboard_(keyboard)
{
}

void WaylandPlatform::PumpEvents()
{
    const auto now = Clock::now();
    if (looks_.due(now)) {
        dispatchOnce(now);
    } else {
        dispatchQueued();
    }
    keyboard_.repeat(Clock::now());
}

void WaylandPlatform::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        PumpEvents();
        if (Clock::now() >= deadline || meetShortWait(deadline)) {
            return;
        }
        // The process's timer slack is a nanosecond: poll itself wakes at the deadline.
        auto wake = deadline;
        if (const auto repeat = keyboard_.repeatDue()) {
            wake = std::min(wake, *repeat);
        }
        dispatchOnce(wake);
    }
}

void WaylandPlatform::sleepUntilInput()
{
    dispatchOnce(keyboard_.repeatDue());
    keyboard_.repeat(Clock::now());
}

WaylandPlatform::Clock::duration WaylandPlatform::refreshInterval()
{
    return std::chrono::duration_cast<Clock::duration>(picture1_.refreshInterval());
}

void WaylandPlatform::dispatchOnce(std::optional<Clock::time_point> until)
{
    wl_display* display = connection_.display();
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) {
            lost();
        }
    }
    // Everything asked for goes out before the sleep; a full socket waits for room as well.
    const bool flushed = wl_display_flush(display) >= 0;
    if (!flushed && errno != EAGAIN) {
        wl_display_cancel_read(display);
        lost();
    }
    const PollResult woke = pollUntil(wl_display_get_fd(display), until, !flushed);
    looks_.looked(Clock::now(), woke == PollResult::woken);
    if (woke == PollResult::readable) {
        if (wl_display_read_events(display) < 0) {
            lost();
        }
    } else {
        wl_display_cancel_read(display);
        if (woke == PollResult::failed) {
            lost();
        }
    }
    if (wl_display_dispatch_pending(display) < 0) {
        lost();
    }
}

void WaylandPlatform::dispatchQueued()
{
    wl_display* display = connection_.display();
    if (wl_display_dispatch_pending(display) < 0) {
        lost();
    }
    if (wl_display_flush(display) < 0) {
        if (errno != EAGAIN) {
            lost();
        }
        looks_.sawReadable();  // the next pump waits for room and sends the rest
    }
}

void WaylandPlatform::lost() const
{
    fatal(wl_display_get_error(connection_.display()) == EPROTO ? "the Wayland compositor refused a request"
                                                               : "lost the connection to the Wayland compositor");
}

void WaylandPlatform::EndProgram()
{
    wl_display_flush(connection_.display());
    endProcess(EXIT_SUCCESS);
}

void WaylandPlatform::RaiseError(std::string_view what)
{
    reportErrorAndEnd(what);
}

}  // namespace qex::wayland
