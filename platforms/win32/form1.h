#pragma once

#include "engine/player_state.h"
#include "platforms/win32/frame_set.h"
#include "platforms/win32/picture1.h"
#include "platforms/surface_events.h"
#include "platforms/win32/win32_platform.h"

#include <windows.h>

#include <memory>

namespace qex {

// The program's one window: a fixed 349 x 407 client area (at 96 dpi) covered by the display
// surface, with a caption and close box but no minimize, maximize or sizing. A hidden owner keeps
// it off the task bar. Owns the player state; its first activation or show enters the play loop.
class Form1 final : private SurfaceEvents {
public:
    static const wchar_t* const caption;

    explicit Form1(const frames::FrameSet& frames);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    HWND handle() const { return hwnd_; }
    void show();
    // Dispatches messages until the window is first activated or shown, then plays for ever.
    [[noreturn]] void run();

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout(UINT dpi, const RECT* suggested);

    void keyPress(std::int16_t& keyAscii) override;
    void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
    void click() override;
    void dblClick() override;

    PlayerState state_;
    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    std::unique_ptr<Picture1> picture1_;
    std::unique_ptr<Win32Platform> platform_;
    bool activated_ = false;
};

}  // namespace qex
