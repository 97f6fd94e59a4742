#include "platforms/wayland/picture1.h"

#include <linux/input-event-codes.h>

#include <cmath>

namespace qex::wayland {
namespace {

constexpr std::uint32_t doubleClickTime = 400;  // milliseconds between the two presses
constexpr int cursorSize = 24;                  // logical pixels

std::int16_t buttonBit(std::uint32_t button)
{
    switch (button) {
    case BTN_LEFT: return 1;
    case BTN_RIGHT: return 2;
    case BTN_MIDDLE: return 4;
    default: return 0;
    }
}

}  // namespace

const wl_pointer_listener Picture1::pointerListener = [] {
    // The seat is bound at version 4: the later pointer events never come.
    wl_pointer_listener listener{};
    listener.enter = &Picture1::pointerEnter;
    listener.leave = &Picture1::pointerLeave;
    listener.motion = &Picture1::pointerMotion;
    listener.button = &Picture1::pointerButton;
    listener.axis = &Picture1::pointerAxis;
    return listener;
}();

void Picture1::setCursor(wl_pointer* pointer, std::uint32_t serial)
{
    const int scale = frames_->scale();
    if (cursorScale_ != scale) {
        if (cursorTheme_) {
            wl_cursor_theme_destroy(cursorTheme_);
        }
        cursorTheme_ = wl_cursor_theme_load(nullptr, cursorSize * scale, connection_.shm());
        cursorScale_ = scale;
    }
    wl_cursor* cursor = cursorTheme_ ? wl_cursor_theme_get_cursor(cursorTheme_, "left_ptr") : nullptr;
    if (!cursor || cursor->image_count == 0) {
        return;
    }
    wl_cursor_image* image = cursor->images[0];
    if (!cursorSurface_) {
        cursorSurface_ = wl_compositor_create_surface(connection_.compositor());
    }
    wl_surface_set_buffer_scale(cursorSurface_, scale);
    wl_surface_attach(cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
    wl_surface_damage(cursorSurface_, 0, 0, static_cast<std::int32_t>(image->width),
                      static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface_);
    wl_pointer_set_cursor(pointer, serial, cursorSurface_, static_cast<std::int32_t>(image->hotspot_x) / scale,
                          static_cast<std::int32_t>(image->hotspot_y) / scale);
}

void Picture1::pointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface,
                            wl_fixed_t x, wl_fixed_t y)
{
    auto& self = *static_cast<Picture1*>(data);
    // The title bar's surfaces are the decorations' own business.
    if (surface != self.surface_) {
        return;
    }
    self.pointerOn_ = true;
    self.setCursor(pointer, serial);
    self.x_ = wl_fixed_to_double(x);
    self.y_ = wl_fixed_to_double(y);
    self.reportMove();
}

void Picture1::pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface* surface)
{
    auto& self = *static_cast<Picture1*>(data);
    if (surface == self.surface_) {
        self.pointerOn_ = false;
        self.buttons_ = 0;
        self.clickButton_ = 0;
    }
}

void Picture1::pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    auto& self = *static_cast<Picture1*>(data);
    if (!self.pointerOn_) {
        return;
    }
    self.x_ = wl_fixed_to_double(x);
    self.y_ = wl_fixed_to_double(y);
    self.reportMove();
}

void Picture1::pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t time, std::uint32_t button,
                             std::uint32_t state)
{
    auto& self = *static_cast<Picture1*>(data);
    if (!self.pointerOn_) {
        return;
    }
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        self.press(button, time);
    } else {
        self.release(button);
    }
}

void Picture1::reportMove()
{
    // Surface coordinates are logical pixels at any buffer scale.
    const int col = static_cast<int>(std::floor(x_)) - edge;
    const int row = static_cast<int>(std::floor(y_)) - edge;
    // Moves are reported over the picture, and anywhere while a button pressed here is held
    // (the compositor keeps sending them to the surface until it is released).
    const bool overPicture = col >= 0 && col < innerWidth && row >= 0;
    if (buttons_ == 0 && !overPicture) {
        return;
    }
    events_.mouseMove(buttons_, keyboard_.shiftState(), unitsAcross(col), unitsDown(row));
}

void Picture1::press(std::uint32_t button, std::uint32_t time)
{
    buttons_ = static_cast<std::int16_t>(buttons_ | buttonBit(button));
    if (button != BTN_LEFT && button != BTN_RIGHT) {
        return;
    }
    if (doubleClick_.completedBy(button, time, x_, y_, doubleClickTime)) {
        // The first press already made its click; the release after this one makes none, and a
        // third press begins anew.
        clickButton_ = 0;
        events_.dblClick();
        return;
    }
    clickButton_ = button;
}

void Picture1::release(std::uint32_t button)
{
    buttons_ = static_cast<std::int16_t>(buttons_ & ~buttonBit(button));
    const bool inside = x_ >= 0 && x_ < width && y_ >= 0 && y_ < height;
    const bool click = button == clickButton_ && clickButton_ != 0 && inside;
    clickButton_ = 0;
    if (click) {
        events_.click();
    }
}

}  // namespace qex::wayland
