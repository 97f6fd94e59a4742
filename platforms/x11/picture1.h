#pragma once

#include "platforms/linux/changed_areas.h"
#include "platforms/linux/double_click.h"
#include "platforms/surface_events.h"
#include "platforms/x11/compositor_watch.h"
#include "platforms/x11/connection.h"
#include "platforms/x11/frame_pixmaps.h"
#include "platforms/x11/frame_set.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace qex {

// The display surface: the window's 2-pixel sunken edge and, inside it, a child window over the
// 345 x 405 picture that the X server fills by copying from the frames' 1-bit pixmaps. At scale n
// every frame pixel is an n x n block. Translates keys and pointer actions on the window.
class Picture1 {
public:
    static constexpr int borderWidth = 2;     // logical pixels on each side
    static constexpr int surfaceWidth = 349;  // logical pixels
    static constexpr int surfaceHeight = 768; // logical pixels, of which the window shows 407

    Picture1(const x11::Connection& connection, xcb_window_t window, int scale, SurfaceEvents& events);
    ~Picture1();
    Picture1(const Picture1&) = delete;
    Picture1& operator=(const Picture1&) = delete;

    // Puts the picture on screen with one copy; false if it is already shown.
    bool setPicture(std::shared_ptr<const frames::FramePicture> picture);
    const std::shared_ptr<const frames::FramePicture>& picture() const { return picture_; }

    void expose(const xcb_expose_event_t& event);
    // A key press that gave `character` (0 for none).
    // Puts the frame's pixmap on the server ahead of its first show.
    void prepare(const frames::FramePicture& picture);
    void keyPress(std::uint32_t character);
    void motion(const xcb_motion_notify_event_t& event);
    // A press that makes a double-click if it follows the one before within doubleClickMs.
    void buttonPress(const xcb_button_press_event_t& event, std::uint32_t doubleClickMs);
    void buttonRelease(const xcb_button_release_event_t& event);

private:
    void copy(std::span<const FrameArea> areas);
    void drawBorder();

    const x11::Connection& connection_;
    xcb_window_t window_;
    xcb_window_t canvas_ = 0;  // the child window over the picture
    int scale_;
    SurfaceEvents& events_;
    x11::CompositorWatch compositor_;
    xcb_gcontext_t copyGc_ = 0;    // on the canvas, no exposure events; set bits white
    xcb_gcontext_t borderGc_ = 0;  // on the window, for the edge
    std::array<std::uint32_t, 5> colours_{};  // the edge's four shades, then the face
    x11::FramePixmaps pixmaps_;
    std::vector<FrameArea> changed_;    // kept to spare an allocation a frame
    std::vector<xcb_rectangle_t> clips_;
    std::shared_ptr<const frames::FramePicture> picture_;

    int clickButton_ = 0;  // the left or right button whose press may become a click, or 0
    DoubleClick doubleClick_;
};

}  // namespace qex
