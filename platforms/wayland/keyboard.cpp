#include "platforms/wayland/keyboard.h"

#include "platforms/linux/key_character.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace qex::wayland {
namespace {

constexpr std::uint32_t evdevToXkb = 8;  // xkb keycodes are the kernel's plus 8

}  // namespace

const wl_keyboard_listener Keyboard::listener{&Keyboard::keymap, &Keyboard::enter, &Keyboard::leave,
                                              &Keyboard::key,    &Keyboard::modifiers, &Keyboard::repeatInfo};

Keyboard::Keyboard(SurfaceEvents& events) : events_(events), context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

Keyboard::~Keyboard()
{
    xkb_state_unref(state_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(context_);
}

void Keyboard::keymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size)
{
    auto& self = *static_cast<Keyboard*>(data);
    void* text = (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && self.context_)
                     ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)
                     : MAP_FAILED;
    close(fd);
    if (text == MAP_FAILED) {
        return;
    }
    // The text ends with a null byte inside size.
    xkb_keymap* keymap = xkb_keymap_new_from_string(self.context_, static_cast<const char*>(text),
                                                    XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (!keymap) {
        return;
    }
    xkb_state_unref(self.state_);
    xkb_keymap_unref(self.keymap_);
    self.keymap_ = keymap;
    self.state_ = xkb_state_new(keymap);
    self.repeating_ = 0;
}

void Keyboard::enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*)
{
    // Keys already down when the focus came are not presses made here.
}

void Keyboard::leave(void* data, wl_keyboard*, std::uint32_t, wl_surface*)
{
    static_cast<Keyboard*>(data)->repeating_ = 0;
}

void Keyboard::key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key, std::uint32_t state)
{
    auto& self = *static_cast<Keyboard*>(data);
    if (!self.state_) {
        return;
    }
    const xkb_keycode_t code = key + evdevToXkb;
    if (state == WL_KEYBOARD_KEY_STATE_RELEASED) {
        if (code == self.repeating_) {
            self.repeating_ = 0;
        }
        return;
    }
    if (self.rate_ > 0 && xkb_keymap_key_repeats(self.keymap_, code)) {
        self.repeating_ = code;
        self.nextRepeat_ = Clock::now() + std::chrono::milliseconds(self.delay_);
    } else {
        self.repeating_ = 0;
    }
    self.deliver(code);
}

void Keyboard::modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
                         std::uint32_t locked, std::uint32_t group)
{
    auto& self = *static_cast<Keyboard*>(data);
    if (self.state_) {
        xkb_state_update_mask(self.state_, depressed, latched, locked, 0, 0, group);
    }
}

void Keyboard::repeatInfo(void* data, wl_keyboard*, std::int32_t rate, std::int32_t delay)
{
    auto& self = *static_cast<Keyboard*>(data);
    self.rate_ = rate;
    self.delay_ = delay;
    if (rate <= 0) {
        self.repeating_ = 0;
    }
}

std::int16_t Keyboard::shiftState() const
{
    if (!state_) {
        return 0;
    }
    const auto held = [this](const char* name) {
        return xkb_state_mod_name_is_active(state_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    return static_cast<std::int16_t>((held(XKB_MOD_NAME_SHIFT) ? 1 : 0) | (held(XKB_MOD_NAME_CTRL) ? 2 : 0) |
                                     (held(XKB_MOD_NAME_ALT) ? 4 : 0));
}

std::optional<Keyboard::Clock::time_point> Keyboard::repeatDue() const
{
    if (!repeating_) {
        return std::nullopt;
    }
    return nextRepeat_;
}

void Keyboard::repeat(Clock::time_point now)
{
    if (!repeating_ || now < nextRepeat_) {
        return;
    }
    const auto interval = std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate_;
    deliver(repeating_);
    // A wake that came late repeats once, not as many times as it missed.
    nextRepeat_ = std::max(nextRepeat_ + interval, now + interval / 2);
}

void Keyboard::deliver(xkb_keycode_t code)
{
    if (auto keyAscii = keyAsciiOf(xkb_state_key_get_utf32(state_, code))) {
        events_.keyPress(*keyAscii);
    }
}

}  // namespace qex::wayland
