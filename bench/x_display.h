#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

namespace bench {

// What of a window's pixels the probe looks at: how many are pure black and pure white.
struct InkCount {
    long black = 0;
    long white = 0;
};

// A connection to the X server the probed viewer draws on, with the few reads and synthetic
// inputs the measurements need. Top-level windows are the root's children: no window manager runs.
class XDisplay {
public:
    XDisplay();
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // The first viewable top-level window at least minWidth x minHeight that shows at least
    // the given ink, if any does now.
    std::optional<Window> windowShowing(InkCount least, int minWidth, int minHeight);
    // A hash of the window's current pixels, to tell one shown frame from the next.
    std::uint64_t pixelHash(Window window);
    // Moves the pointer to the given pixel of the window, as a real pointer move would.
    void movePointer(Window window, int col, int row);
    // Moves the pointer to the screen's bottom-right corner, away from every viewer.
    void parkPointer();
    void focus(Window window);
    // Presses and releases Escape; returns once the press has been flushed to the server.
    void pressEscape();
    void releaseEscape();
    // Presses and releases "/" (the viewer's stop key) for the focused window.
    void typeSlash();

private:
    InkCount inkOf(Window window);

    Display* display_;
};

}  // namespace bench
