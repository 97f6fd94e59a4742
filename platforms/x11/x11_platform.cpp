#include "platforms/x11/x11_platform.h"

#include "platforms/linux/poll_until.h"
#include "platforms/linux/process_end.h"

#include <cstdlib>
#include <optional>

namespace qex {

X11Platform::X11Platform(const x11::Connection& connection, XEventHandler& handler, Picture1& surface,
                         const frames::FrameSet& frames, x11::RefreshRate& refresh)
    : DesktopPlatform(surface, frames), connection_(connection), handler_(handler), refresh_(refresh)
{
}

void X11Platform::PumpEvents()
{
    xcb_connection_t* c = connection_.get();
    xcb_flush(c);
    while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
        handler_.handle(*event);
        std::free(event);
    }
    connection_.check();
}

void X11Platform::sleepOnConnection(const Clock::time_point* deadline)
{
    if (handler_.idle()) {
        return;  // the caller delivers what came meanwhile before sleeping
    }
    xcb_connection_t* c = connection_.get();
    xcb_flush(c);
    if (deadline && *deadline <= Clock::now()) {
        return;
    }
    if (pollUntil(xcb_get_file_descriptor(c), deadline ? std::optional(*deadline) : std::nullopt) ==
        PollResult::failed) {
        connection_.lost();
    }
}

void X11Platform::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        // Everything already queued goes first: poll() sees only what is still in the socket.
        PumpEvents();
        if (Clock::now() >= deadline) {
            return;
        }
        sleepOnConnection(&deadline);
    }
}

void X11Platform::sleepUntilInput()
{
    xcb_connection_t* c = connection_.get();
    for (;;) {
        xcb_flush(c);
        if (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            handler_.handle(*event);
            std::free(event);
            PumpEvents();
            return;
        }
        connection_.check();
        sleepOnConnection(nullptr);
    }
}

X11Platform::Clock::duration X11Platform::refreshInterval()
{
    return refresh_.interval();
}

void X11Platform::EndProgram()
{
    xcb_flush(connection_.get());
    endProcess(EXIT_SUCCESS);
}

void X11Platform::RaiseError(std::string_view what)
{
    reportErrorAndEnd(what);
}

}  // namespace qex
