#include "close_request.h"

#include <X11/Xlib.h>

#include <memory>
#include <stdexcept>

namespace qex::x11test {

void sendCloseRequest(const std::string& display, unsigned long window)
{
    const std::unique_ptr<Display, int (*)(Display*)> connection(XOpenDisplay(display.c_str()), XCloseDisplay);
    if (!connection) {
        throw std::runtime_error("cannot open display " + display);
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection.get(), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection.get(), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection.get(), window, False, NoEventMask, &event);
    XSync(connection.get(), False);
}

}  // namespace qex::x11test
