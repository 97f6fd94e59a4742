#pragma once

#include "engine/player_state.h"
#include "platforms/desktop_handlers.h"
#include "platforms/x11/connection.h"
#include "platforms/x11/desktop_settings.h"
#include "platforms/x11/frame_set.h"
#include "platforms/x11/keyboard.h"
#include "platforms/x11/picture1.h"
#include "platforms/x11/refresh_rate.h"
#include "platforms/x11/x11_platform.h"

#include <optional>

namespace qex {

// The program's one window: a fixed 349 x 407 client area (times the desktop's scale) covered by
// the display surface, with a caption and close box but no minimize, maximize or sizing, and no
// task-bar entry. Owns the player state; its first map or focus enters the play loop, once.
class Form1 final : private XEventHandler {
public:
    static const char* const caption;
    static constexpr int clientWidth = 349;   // logical pixels
    static constexpr int clientHeight = 407;  // logical pixels

    Form1(const x11::Connection& connection, const frames::FrameSet& frames);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Delivers events until the window is first mapped or focused, then plays for ever.
    [[noreturn]] void run();

private:
    // Creates the window and describes it to the window manager; the constructor maps it.
    xcb_window_t open();
    // Asks the window manager, if any, to leave the window out of the task bar.
    void leaveOutOfTaskBar();
    void handle(const xcb_generic_event_t& event) override;
    bool idle() override;
    x11::Keyboard& keyboard();
    x11::DoubleClickTime& doubleClick();
    void configured(const xcb_configure_notify_event_t& event);

    const x11::Connection& connection_;
    int scale_;
    xcb_get_property_cookie_t managerCheck_{};  // asked by open(), so declared before the window
    xcb_window_t window_;
    x11::RefreshRate refresh_;
    // Set up once the first picture is up (or when first needed): the first picture waits for neither.
    std::optional<x11::Keyboard> keyboard_;
    std::optional<x11::DoubleClickTime> doubleClick_;
    PlayerState state_;
    DesktopHandlers<X11Platform> handlers_{state_, platform_};
    Picture1 picture1_;
    X11Platform platform_;
    bool askedOutOfTaskBar_ = false;
    bool activated_ = false;
    bool parentIsRoot_ = true;
};

}  // namespace qex
