#pragma once

#include "platforms/linux/changed_areas.h"
#include "platforms/linux/double_click.h"
#include "platforms/surface_events.h"
#include "platforms/wayland/connection.h"
#include "platforms/wayland/frame_set.h"
#include "platforms/wayland/keyboard.h"
#include "platforms/wayland/shm_frames.h"

#include <wayland-client.h>
#include <wayland-cursor.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

namespace qex::wayland {

// The display surface: the window's whole content, the 2-pixel sunken edge around the 345 x 405
// picture, drawn from the frames' prepared buffers at the largest scale of the outputs it is on.
// A new picture goes up when the compositor's last frame callback has come, damaging only the
// parts that change. Reports pointer moves, clicks and double-clicks.
class Picture1 {
public:
    static constexpr int width = ShmFrames::width;    // logical pixels
    static constexpr int height = ShmFrames::height;  // logical pixels
    static constexpr int edge = ShmFrames::edge;      // logical pixels
    static constexpr int innerWidth = 345;            // logical pixels of the picture

    Picture1(Connection& connection, SurfaceEvents& events, const Keyboard& keyboard);
    ~Picture1();
    Picture1(const Picture1&) = delete;
    Picture1& operator=(const Picture1&) = delete;

    static const wl_pointer_listener pointerListener;

    wl_surface* surface() const { return surface_; }
    // Shows the picture as soon as the compositor takes a new one.
    void setPicture(std::shared_ptr<const frames::FramePicture> picture);
    const std::shared_ptr<const frames::FramePicture>& picture() const { return picture_; }
    // The refresh interval of the output the surface last entered; 60 Hz when none tells it.
    std::chrono::nanoseconds refreshInterval() const;

private:
    static const wl_surface_listener surfaceListener;
    static void entered(void* data, wl_surface*, wl_output* output);
    static void left(void* data, wl_surface*, wl_output* output);
    static void frameDone(void* data, wl_callback* callback, std::uint32_t);
    static void pointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface,
                             wl_fixed_t x, wl_fixed_t y);
    static void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface* surface);
    static void pointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y);
    static void pointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t time, std::uint32_t button,
                              std::uint32_t state);
    static void pointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}

    void outputsChanged();
    void commit();
    void damageChanges(int before, int after);
    void setCursor(wl_pointer* pointer, std::uint32_t serial);
    void reportMove();
    void press(std::uint32_t button, std::uint32_t time);
    void release(std::uint32_t button);

    Connection& connection_;
    SurfaceEvents& events_;
    const Keyboard& keyboard_;
    wl_surface* surface_;
    std::vector<wl_output*> outputsOn_;  // in the order the surface entered them
    std::unique_ptr<ShmFrames> frames_;
    std::unique_ptr<ShmFrames> retired_;  // of the scale before, until the compositor lets go
    int committedScale_ = 0;
    int committedHolder_ = 0;  // 0 before the first
    std::shared_ptr<const frames::FramePicture> picture_;
    wl_callback* frameCallback_ = nullptr;
    bool waiting_ = false;  // a picture waits for the frame callback

    wl_cursor_theme* cursorTheme_ = nullptr;
    int cursorScale_ = 0;
    wl_surface* cursorSurface_ = nullptr;

    bool pointerOn_ = false;
    double x_ = 0;  // logical pixels from the surface's top-left corner
    double y_ = 0;
    std::int16_t buttons_ = 0;       // held: 1 left, 2 right, 4 middle
    std::uint32_t clickButton_ = 0;  // the press that may become a click
    DoubleClick doubleClick_;
};

}  // namespace qex::wayland
