#pragma once

#include "platforms/win32/frame_set.h"
#include "platforms/surface_events.h"

#include <windows.h>

#include <memory>

namespace qex {

// The display surface: a child window with the 2-pixel sunken edge whose inner area shows one
// frame unscaled at its top-left corner, holds the keyboard focus and reports keys and pointer
// actions. At other than 96 dpi every frame pixel becomes a nearest-neighbour block.
class Picture1 {
public:
    static constexpr int innerWidth = 345;   // logical pixels
    static constexpr int innerHeight = 764;  // logical pixels: 768 less the two borders

    Picture1(SurfaceEvents& events, HWND parent);
    Picture1(const Picture1&) = delete;
    Picture1& operator=(const Picture1&) = delete;

    HWND handle() const { return hwnd_; }
    // Width of the sunken edge on each side, in device pixels.
    int edge() const;
    // Sizes the surface for the given dots per inch; returns its outer size in device pixels.
    SIZE place(UINT dpi);

    // Draws the picture at once; returns false if it is already shown.
    bool setPicture(std::shared_ptr<const frames::FramePicture> picture);
    const std::shared_ptr<const frames::FramePicture>& picture() const { return picture_; }

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void draw(HDC dc) const;
    void paint();
    void mouseMove(WPARAM wParam, LPARAM lParam);
    void press(int button);
    void release(int button, WPARAM wParam, LPARAM lParam);

    SurfaceEvents& events_;
    HWND hwnd_ = nullptr;
    double scale_ = 1;  // device pixels per logical pixel
    std::shared_ptr<const frames::FramePicture> picture_;
    int clickButton_ = 0;  // the left or right button whose press may become a click, or 0
    LPARAM lastMove_ = -1;  // where the last WM_MOUSEMOVE put the pointer, in client coordinates
};

}  // namespace qex
