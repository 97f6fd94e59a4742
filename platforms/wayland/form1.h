#pragma once

#include "engine/player_state.h"
#include "platforms/desktop_handlers.h"
#include "platforms/wayland/connection.h"
#include "platforms/wayland/frame_set.h"
#include "platforms/wayland/keyboard.h"
#include "platforms/wayland/picture1.h"
#include "platforms/wayland/wayland_platform.h"

#include <libdecor.h>

namespace qex::wayland {

// The program's one window: a toplevel of one fixed size, the surface's 349 x 407, titled with
// the caption, that closes but neither resizes, maximizes, minimizes nor goes fullscreen. Its
// title bar is the compositor's where it draws them, libdecor's elsewhere. Owns the player
// state; the first configure enters the play loop.
class Form1 final {
public:
    static const char* const caption;

    Form1(Connection& connection, const frames::FrameSet& frames);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Delivers events until the window is first configured, then plays for ever.
    [[noreturn]] void run();

private:
    static void configure(libdecor_frame* frame, libdecor_configuration* configuration, void* data);
    static void close(libdecor_frame* frame, void* data);
    static void commit(libdecor_frame* frame, void* data);
    static void dismissPopup(libdecor_frame* frame, const char* seat, void* data);

    PlayerState state_;
    DesktopHandlers<WaylandPlatform> handlers_{state_, platform_};
    Keyboard keyboard_;
    Picture1 picture1_;
    WaylandPlatform platform_;
    libdecor* decorations_ = nullptr;
    libdecor_frame* frame_ = nullptr;
    bool configured_ = false;
};

}  // namespace qex::wayland
