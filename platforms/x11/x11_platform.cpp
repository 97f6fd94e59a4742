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
    deliverEvents();
}

bool X11Platform::deliverEvents()
{
    const auto now = Clock::now();
    const bool read = looks_.due(now);
    if (read) {
        looks_.looked(now);
    }
    xcb_connection_t* c = connection_.get();
    bool delivered = false;
    for (;;) {
        // A flush may read events into libxcb's queue, as may a handler waiting for a reply.
        xcb_flush(c);
        xcb_generic_event_t* event = read ? xcb_poll_for_event(c) : xcb_poll_for_queued_event(c);
        if (!event) {
            break;
        }
        handler_.handle(*event);
        std::free(event);
        delivered = true;
    }
    connection_.check();
    return delivered;
}

void X11Platform::sleepOnConnection(const Clock::time_point* deadline)
{
    if (handler_.idle()) {
        return;  // the caller delivers what came meanwhile before sleeping
    }
    if (deadline && meetShortWait(*deadline)) {
        return;
    }
    // Nothing is queued or unsent here: the caller has just delivered events.
    switch (pollUntil(xcb_get_file_descriptor(connection_.get()),
                      deadline ? std::optional(*deadline) : std::nullopt)) {
    case PollResult::timedOut:
        looks_.looked(Clock::now());
        break;
    case PollResult::failed:
        connection_.lost();
    case PollResult::readable:
    case PollResult::woken:
        looks_.sawReadable();
        break;
    }
}

void X11Platform::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        // Everything already queued goes first: poll() sees only what is still in the socket.
        deliverEvents();
        if (Clock::now() >= deadline) {
            return;
        }
        sleepOnConnection(&deadline);
    }
}

void X11Platform::sleepUntilInput()
{
    while (!deliverEvents()) {
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
