#include "platforms/x11/picture1.h"

#include "platforms/linux/key_character.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace qex {
namespace {

constexpr int frameWidth = frames::packedWidth;    // pixels
constexpr int frameHeight = frames::packedHeight;  // pixels
// The edge's shades, outer ring first, as a sunken panel lit from the top left; then the face.
constexpr std::array<std::uint32_t, 5> edgeRgb = {0xA0A0A0, 0x696969, 0xFFFFFF, 0xE3E3E3, 0xF0F0F0};

const xcb_visualtype_t* visualOf(const xcb_screen_t& screen)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == screen.root_visual) {
                return visuals.data;
            }
        }
    }
    return nullptr;
}

// The pixel value of a colour on a true-colour visual; elsewhere the nearer of black and white.
std::uint32_t pixelOf(std::uint32_t rgb, const xcb_screen_t& screen, const xcb_visualtype_t* visual)
{
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR)) {
        return ((rgb >> 16 & 0xFF) + (rgb >> 8 & 0xFF) + (rgb & 0xFF)) >= 3 * 128 ? screen.white_pixel
                                                                                 : screen.black_pixel;
    }
    const auto channel = [](std::uint32_t value, std::uint32_t mask) -> std::uint32_t {
        if (mask == 0) return 0;
        const int shift = std::countr_zero(mask);
        const std::uint32_t top = mask >> shift;
        return ((value * top + 127) / 255) << shift;
    };
    return channel(rgb >> 16 & 0xFF, visual->red_mask) | channel(rgb >> 8 & 0xFF, visual->green_mask) |
           channel(rgb & 0xFF, visual->blue_mask);
}

int floorDiv(int value, int by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

std::int16_t buttonState(std::uint16_t state)
{
    std::int16_t buttons = 0;
    if (state & XCB_BUTTON_MASK_1) buttons |= 1;
    if (state & XCB_BUTTON_MASK_3) buttons |= 2;
    if (state & XCB_BUTTON_MASK_2) buttons |= 4;
    return buttons;
}

std::int16_t shiftState(std::uint16_t state)
{
    std::int16_t shift = 0;
    if (state & XCB_MOD_MASK_SHIFT) shift |= 1;
    if (state & XCB_MOD_MASK_CONTROL) shift |= 2;
    if (state & XCB_MOD_MASK_1) shift |= 4;
    return shift;
}

}  // namespace

Picture1::Picture1(const x11::Connection& connection, xcb_window_t window, int scale, SurfaceEvents& events)
    : connection_(connection), window_(window), scale_(scale), events_(events),
      compositor_(connection.get(), connection.atom(x11::Atom::compositorSelection)),
      pixmaps_(connection, window, scale)
{
    xcb_connection_t* c = connection.get();
    const xcb_screen_t& screen = connection.screen();

    const xcb_visualtype_t* visual = visualOf(screen);
    for (std::size_t i = 0; i < edgeRgb.size(); ++i) {
        colours_[i] = pixelOf(edgeRgb[i], screen, visual);
    }

    // Not cleared by the server: every exposed pixel is drawn from a pixmap at once.
    canvas_ = xcb_generate_id(c);
    const std::uint32_t canvasValues[] = {XCB_BACK_PIXMAP_NONE, XCB_EVENT_MASK_EXPOSURE};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, canvas_, window_, static_cast<std::int16_t>(borderWidth * scale),
                      static_cast<std::int16_t>(borderWidth * scale), static_cast<std::uint16_t>(frameWidth * scale),
                      static_cast<std::uint16_t>(frameHeight * scale), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      XCB_COPY_FROM_PARENT, XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, canvasValues);
    xcb_map_window(c, canvas_);

    copyGc_ = xcb_generate_id(c);
    const std::uint32_t copyValues[] = {screen.white_pixel, screen.black_pixel, 0};
    xcb_create_gc(c, copyGc_, canvas_, XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  copyValues);
    borderGc_ = xcb_generate_id(c);
    const std::uint32_t borderValues[] = {0};
    xcb_create_gc(c, borderGc_, window_, XCB_GC_GRAPHICS_EXPOSURES, borderValues);
}

Picture1::~Picture1()
{
    xcb_connection_t* c = connection_.get();
    if (xcb_connection_has_error(c)) {
        return;
    }
    for (const xcb_gcontext_t gc : {copyGc_, borderGc_}) {
        if (gc) xcb_free_gc(c, gc);
    }
}

bool Picture1::setPicture(std::shared_ptr<const frames::FramePicture> picture)
{
    if (picture == picture_) {
        return false;
    }
    const auto previous = std::move(picture_);
    picture_ = std::move(picture);
    if (!picture_) {
        return true;
    }
    // A compositor may read a damaged part only after the next frame has come in, and then shows
    // pieces of two frames: there, frames go up whole.
    if (!previous || compositor_.running()) {
        const FrameArea whole{0, 0, frameWidth, frameHeight};
        copy({&whole, 1});
        return true;
    }
    // Successive frames of a line drawing differ in a small part, and the server's 1-bit
    // expansion costs by the pixel: only the parts that changed are copied.
    changedAreas(previous->rows(), picture_->rows(), changed_);
    copy(changed_);
    return true;
}

void Picture1::prepare(const frames::FramePicture& picture)
{
    pixmaps_.of(picture);
}

void Picture1::copy(std::span<const FrameArea> areas)
{
    if (!picture_ || areas.empty()) {
        return;
    }
    xcb_connection_t* c = connection_.get();
    const xcb_pixmap_t pixmap = pixmaps_.of(*picture_);
    const int n = scale_;
    clips_.clear();
    for (const FrameArea& area : areas) {
        clips_.push_back({static_cast<std::int16_t>(area.x * n), static_cast<std::int16_t>(area.y * n),
                          static_cast<std::uint16_t>(area.width * n), static_cast<std::uint16_t>(area.height * n)});
    }
    // One copy for the whole change, clipped to the changed parts: a compositor or a screen grab
    // that reads the window between two requests never sees half of a frame.
    xcb_set_clip_rectangles(c, XCB_CLIP_ORDERING_YX_BANDED, copyGc_, 0, 0, static_cast<std::uint32_t>(clips_.size()),
                            clips_.data());
    const FrameArea box = boundsOf(areas);
    const auto x = static_cast<std::int16_t>(box.x * n);
    const auto y = static_cast<std::int16_t>(box.y * n);
    xcb_copy_plane(c, pixmap, canvas_, copyGc_, x, y, x, y, static_cast<std::uint16_t>(box.width * n),
                   static_cast<std::uint16_t>(box.height * n), 1);
    xcb_flush(c);
}

void Picture1::drawBorder()
{
    xcb_connection_t* c = connection_.get();
    const int n = scale_;
    const int width = surfaceWidth * n;
    const int height = surfaceHeight * n;
    const auto rect = [](int x, int y, int w, int h) {
        return xcb_rectangle_t{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                               static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h)};
    };
    // Outer ring, then inner ring: dark along the top and left, light along the right and bottom.
    const std::array<std::array<xcb_rectangle_t, 2>, 4> sides = {{
        {rect(0, 0, width - n, n), rect(0, 0, n, height - n)},
        {rect(n, n, width - 3 * n, n), rect(n, n, n, height - 3 * n)},
        {rect(width - n, 0, n, height), rect(0, height - n, width, n)},
        {rect(width - 2 * n, n, n, height - 2 * n), rect(n, height - 2 * n, width - 2 * n, n)},
    }};
    for (std::size_t i = 0; i < sides.size(); ++i) {
        xcb_change_gc(c, borderGc_, XCB_GC_FOREGROUND, &colours_[i]);
        xcb_poly_fill_rectangle(c, window_, borderGc_, 2, sides[i].data());
    }
}

void Picture1::expose(const xcb_expose_event_t& event)
{
    // Drawn without a flush of its own: the event loop flushes before it sleeps, and the first
    // frame, when it follows, goes out in the same write.
    if (event.window != canvas_) {
        drawBorder();
        return;
    }
    if (!picture_) {
        // Nothing shown yet: the face colour, until the first frame.
        xcb_connection_t* c = connection_.get();
        const xcb_rectangle_t area{static_cast<std::int16_t>(event.x), static_cast<std::int16_t>(event.y),
                                   event.width, event.height};
        xcb_change_gc(c, borderGc_, XCB_GC_FOREGROUND, &colours_[4]);
        xcb_poly_fill_rectangle(c, canvas_, borderGc_, 1, &area);
        return;
    }
    // The canvas's contents were lost (first shown, uncovered): the exposed part is drawn again,
    // in frame pixels covering it.
    const int n = scale_;
    const int left = event.x / n;
    const int top = event.y / n;
    const int right = std::min(frameWidth, (event.x + event.width + n - 1) / n);
    const int bottom = std::min(frameHeight, (event.y + event.height + n - 1) / n);
    if (right > left && bottom > top) {
        const FrameArea area{left, top, right - left, bottom - top};
        copy({&area, 1});
    }
}

void Picture1::keyPress(std::uint32_t character)
{
    if (auto keyAscii = keyAsciiOf(character)) {
        events_.keyPress(*keyAscii);
    }
}

void Picture1::motion(const xcb_motion_notify_event_t& event)
{
    const int col = floorDiv(event.event_x, scale_) - borderWidth;
    const int row = floorDiv(event.event_y, scale_) - borderWidth;
    // Moves are reported over the inner area, and anywhere while a button pressed here is held.
    const std::int16_t buttons = buttonState(event.state);
    const bool inside = col >= 0 && col < surfaceWidth - 2 * borderWidth && row >= 0 &&
                        row < surfaceHeight - 2 * borderWidth;
    if (buttons == 0 && !inside) {
        return;
    }
    events_.mouseMove(buttons, shiftState(event.state), unitsAcross(col), unitsDown(row));
}

void Picture1::buttonPress(const xcb_button_press_event_t& event, std::uint32_t doubleClickMs)
{
    const int button = event.detail;
    if (button != XCB_BUTTON_INDEX_1 && button != XCB_BUTTON_INDEX_3) {
        clickButton_ = 0;
        return;
    }
    const double x = static_cast<double>(event.event_x) / scale_;
    const double y = static_cast<double>(event.event_y) / scale_;
    if (doubleClick_.completedBy(static_cast<std::uint32_t>(button), event.time, x, y, doubleClickMs)) {
        // The first press already made its click; the release after this one makes none.
        clickButton_ = 0;
        events_.dblClick();
        return;
    }
    clickButton_ = button;
}

void Picture1::buttonRelease(const xcb_button_release_event_t& event)
{
    const bool onSurface = event.event_x >= 0 && event.event_x < surfaceWidth * scale_ && event.event_y >= 0 &&
                           event.event_y < surfaceHeight * scale_;
    const bool click = event.detail == clickButton_ && clickButton_ != 0 && onSurface;
    clickButton_ = 0;
    if (click) {
        events_.click();
    }
}

}  // namespace qex
