#pragma once

#include "platforms/desktop_platform.h"
#include "platforms/linux/poll_until.h"
#include "platforms/wayland/connection.h"
#include "platforms/wayland/frame_set.h"
#include "platforms/wayland/keyboard.h"
#include "platforms/wayland/picture1.h"

#include <optional>

namespace qex::wayland {

// The play loop's platform on Wayland: shows frames on the surface, reads and dispatches the
// compositor's events, waits in poll on the connection with a precise timeout (key repeats
// fire from the same wait), and ends the process.
class WaylandPlatform final : public DesktopPlatform<Picture1, frames::FrameSet> {
public:
    WaylandPlatform(Connection& connection, Picture1& surface, Keyboard& keyboard, const frames::FrameSet& frames);

    void PumpEvents() override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

    // Sleeps until the compositor says something, and delivers it.
    void awaitEvents() { dispatchOnce(std::nullopt); }

private:
    void waitUntil(Clock::time_point deadline) override;
    void sleepUntilInput() override;
    Clock::duration refreshInterval() override;
    // One read of the connection: flushes the requests, sleeps until events come or until the
    // given time, then delivers what was read.
    void dispatchOnce(std::optional<Clock::time_point> until);
    // Delivers the events already read and sends the requests made meanwhile, without a look
    // at the socket.
    void dispatchQueued();
    [[noreturn]] void lost() const;

    Connection& connection_;
    Picture1& picture1_;
    Keyboard& keyboard_;
    SocketLooks looks_;
};

}  // namespace qex::wayland
