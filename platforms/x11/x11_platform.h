#pragma once

#include "platforms/desktop_platform.h"
#include "platforms/linux/poll_until.h"
#include "platforms/x11/connection.h"
#include "platforms/x11/frame_set.h"
#include "platforms/x11/picture1.h"
#include "platforms/x11/refresh_rate.h"

namespace qex {

// Receives the connection's events one at a time.
class XEventHandler {
public:
    virtual ~XEventHandler() = default;
    virtual void handle(const xcb_generic_event_t& event) = 0;
    // Called before each sleep, for work that may wait until the picture is up; true when it did
    // some, whose replies may have brought events along.
    virtual bool idle() { return false; }
};

// The play loop's platform on X11: shows frames on the surface, delivers the connection's
// events, waits in poll() on the connection with a precise timeout, and ends the process.
class X11Platform final : public DesktopPlatform<Picture1, frames::FrameSet> {
public:
    X11Platform(const x11::Connection& connection, XEventHandler& handler, Picture1& surface,
                const frames::FrameSet& frames, x11::RefreshRate& refresh);

    void PumpEvents() override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

    // Sleeps until events have come, and delivers them.
    void awaitEvents() { sleepUntilInput(); }

private:
    void waitUntil(Clock::time_point deadline) override;
    void sleepUntilInput() override;
    Clock::duration refreshInterval() override;
    // Delivers the events at hand, reading the socket only if it may hold some; true if any came.
    bool deliverEvents();
    // Sleeps until the connection has something to read or the deadline (if any) has come.
    void sleepOnConnection(const Clock::time_point* deadline);

    const x11::Connection& connection_;
    XEventHandler& handler_;
    x11::RefreshRate& refresh_;
    SocketLooks looks_;
};

}  // namespace qex
