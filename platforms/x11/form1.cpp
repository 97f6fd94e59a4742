#include "platforms/x11/form1.h"

#include "engine/play_loop.h"
#include "platforms/x11/window_hints.h"

#include <cstdlib>

namespace qex {

const char* const Form1::caption = "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC";

Form1::Form1(const x11::Connection& connection, const frames::FrameSet& frames)
    : connection_(connection),
      scale_(x11::desktopScale(connection)),
      window_(open()),
      refresh_(connection),
      picture1_(connection, window_, scale_, handlers_),
      platform_(connection, *this, picture1_, frames, refresh_)
{
    // Mapped with its surface already in place, the way window managers expect a new window.
    xcb_connection_t* c = connection_.get();
    xcb_map_window(c, window_);
    // The first frame goes up while the server maps the window, so that showing it is one copy.
    if (const auto& first = frames.frameOf(1)) {
        picture1_.prepare(*first);
    }
    xcb_flush(c);
}

void Form1::leaveOutOfTaskBar()
{
    // Asked once mapped, and focused by a manager that focuses new windows: the state can no
    // longer cost the focus. Whether a manager runs was asked at the start; its answer came
    // while the window was being mapped, so the first frame never waited for it.
    auto* manager = xcb_get_property_reply(connection_.get(), managerCheck_, nullptr);
    const bool managed = manager && xcb_get_property_value_length(manager) > 0;
    std::free(manager);
    connection_.check();
    x11::leaveOutOfTaskBar(connection_, window_, managed);
    askedOutOfTaskBar_ = true;
}

xcb_window_t Form1::open()
{
    xcb_connection_t* c = connection_.get();
    const xcb_screen_t& screen = connection_.screen();
    managerCheck_ = xcb_get_property(c, 0, screen.root, connection_.atom(x11::Atom::netSupportingWmCheck),
                                     XCB_ATOM_WINDOW, 0, 1);
    const xcb_window_t window = xcb_generate_id(c);
    const int width = clientWidth * scale_;
    const int height = clientHeight * scale_;
    constexpr std::uint32_t face = 0xF0F0F0;  // under the edge until it is drawn
    const std::uint32_t values[] = {
        screen.root_depth == 24 ? face : screen.white_pixel,
        XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE |
            XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
            XCB_EVENT_MASK_POINTER_MOTION};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen.root, 0, 0, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    x11::describeWindow(connection_, window, caption, width, height);
    return window;
}

void Form1::run()
{
    while (!activated_) {
        platform_.awaitEvents();
    }
    // Entered from the top of the event loop rather than from inside an event's handler.
    Form_Activate(state_, platform_);
}

x11::Keyboard& Form1::keyboard()
{
    if (!keyboard_) {
        keyboard_.emplace(connection_);
    }
    return *keyboard_;
}

x11::DoubleClickTime& Form1::doubleClick()
{
    if (!doubleClick_) {
        doubleClick_.emplace(connection_);
    }
    return *doubleClick_;
}

bool Form1::idle()
{
    if (!activated_ || (keyboard_ && doubleClick_)) {
        return false;
    }
    keyboard();
    doubleClick();
    refresh_.ask();
    return true;
}

void Form1::handle(const xcb_generic_event_t& event)
{
    if (keyboard_ && keyboard_->handle(event)) {
        return;
    }
    switch (event.response_type & 0x7F) {
    case XCB_EXPOSE:
        picture1_.expose(reinterpret_cast<const xcb_expose_event_t&>(event));
        break;
    case XCB_KEY_PRESS:
        picture1_.keyPress(keyboard().character(reinterpret_cast<const xcb_key_press_event_t&>(event).detail));
        break;
    case XCB_MOTION_NOTIFY:
        picture1_.motion(reinterpret_cast<const xcb_motion_notify_event_t&>(event));
        break;
    case XCB_BUTTON_PRESS:
        picture1_.buttonPress(reinterpret_cast<const xcb_button_press_event_t&>(event), doubleClick().milliseconds());
        break;
    case XCB_BUTTON_RELEASE:
        picture1_.buttonRelease(reinterpret_cast<const xcb_button_release_event_t&>(event));
        break;
    case XCB_CLIENT_MESSAGE: {
        const auto& message = reinterpret_cast<const xcb_client_message_event_t&>(event);
        if (message.window == window_ && message.type == connection_.atom(x11::Atom::wmProtocols) &&
            message.data.data32[0] == connection_.atom(x11::Atom::wmDeleteWindow)) {
            // The close box, Alt+F4 or another close request: a loop without its window must not go on.
            platform_.EndProgram();
        }
        if (doubleClick_) {
            doubleClick_->handle(event);
        }
        break;
    }
    case XCB_MAP_NOTIFY:
        if (reinterpret_cast<const xcb_map_notify_event_t&>(event).window == window_) {
            activated_ = true;
            if (!askedOutOfTaskBar_) {
                leaveOutOfTaskBar();
            }
        }
        break;
    case XCB_FOCUS_IN:
        activated_ = true;
        break;
    case XCB_REPARENT_NOTIFY: {
        const auto& reparent = reinterpret_cast<const xcb_reparent_notify_event_t&>(event);
        if (reparent.window == window_) {
            parentIsRoot_ = reparent.parent == connection_.screen().root;
        }
        break;
    }
    case XCB_CONFIGURE_NOTIFY:
        configured(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
        break;
    case XCB_PROPERTY_NOTIFY:
    case XCB_DESTROY_NOTIFY:
        if (doubleClick_) {
            doubleClick_->handle(event);
        }
        break;
    default:
        break;
    }
}

void Form1::configured(const xcb_configure_notify_event_t& event)
{
    // Root coordinates come from the window manager's synthetic notices, or from the server
    // while the window sits on the root itself.
    const bool synthetic = event.response_type & 0x80;
    if (event.window == window_ && (synthetic || parentIsRoot_)) {
        refresh_.windowMoved(event.x, event.y, event.width, event.height);
    }
}

}  // namespace qex
