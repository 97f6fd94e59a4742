#pragma once

#include "platforms/surface_events.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <cstdint>
#include <optional>

namespace qex::wayland {

// The seat's keyboard: keys become characters through the compositor's keymap (the keypad's
// too), Escape is 27, and a held key repeats at the compositor's rate, which on Wayland the
// client does itself.
class Keyboard {
public:
    using Clock = std::chrono::steady_clock;

    explicit Keyboard(SurfaceEvents& events);
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    static const wl_keyboard_listener listener;

    // 1 Shift, 2 Ctrl, 4 Alt, as held now.
    std::int16_t shiftState() const;
    // When the held key next repeats, if one is held.
    std::optional<Clock::time_point> repeatDue() const;
    // Delivers the repeats due by now.
    void repeat(Clock::time_point now);

private:
    static void keymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size);
    static void enter(void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*);
    static void leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*);
    static void key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state);
    static void modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
                          std::uint32_t locked, std::uint32_t group);
    static void repeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay);
    void deliver(xkb_keycode_t code);

    SurfaceEvents& events_;
    xkb_context* context_;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
    std::int32_t rate_ = 25;    // repeats per second; 0 means none
    std::int32_t delay_ = 600;  // milliseconds before the first repeat
    xkb_keycode_t repeating_ = 0;
    Clock::time_point nextRepeat_{};
};

}  // namespace qex::wayland
