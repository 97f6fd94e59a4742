#include "platforms/win32/picture1.h"

#include "platforms/win32/error_report.h"

#include <windowsx.h>

#include <cmath>

namespace qex {
namespace {

constexpr double baseDpi = 96;
constexpr wchar_t className[] = L"QexLiftsPicture1";

constexpr int leftButton = 1;
constexpr int rightButton = 2;
constexpr int middleButton = 4;

std::int16_t buttonState(WPARAM keys)
{
    std::int16_t state = 0;
    if (keys & MK_LBUTTON) state |= leftButton;
    if (keys & MK_RBUTTON) state |= rightButton;
    if (keys & MK_MBUTTON) state |= middleButton;
    return state;
}

std::int16_t shiftState(WPARAM keys)
{
    std::int16_t state = 0;
    if (keys & MK_SHIFT) state |= 1;
    if (keys & MK_CONTROL) state |= 2;
    if (::GetKeyState(VK_MENU) < 0) state |= 4;
    return state;
}

void registerClass()
{
    static const bool registered = [] {
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        // CS_DBLCLKS: the second press of a double-click arrives as its own message.
        type.style = CS_DBLCLKS;
        type.lpfnWndProc = DefWindowProcW;
        type.hInstance = ::GetModuleHandleW(nullptr);
        type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        type.lpszClassName = className;
        return ::RegisterClassExW(&type) != 0;
    }();
    if (!registered) {
        reportErrorAndExit("the display surface's window class could not be registered: " + lastErrorText());
    }
}

}  // namespace

Picture1::Picture1(SurfaceEvents& events, HWND parent) : events_(events)
{
    registerClass();
    hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_CHILD | WS_VISIBLE, 0, 0,
                              innerWidth, innerHeight, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) {
        reportErrorAndExit("the display surface could not be created: " + lastErrorText());
    }
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Picture1::procedure));
}

int Picture1::edge() const
{
    RECT outer{};
    RECT inner{};
    ::GetWindowRect(hwnd_, &outer);
    ::GetClientRect(hwnd_, &inner);
    return ((outer.right - outer.left) - (inner.right - inner.left)) / 2;
}

SIZE Picture1::place(UINT dpi)
{
    scale_ = dpi / baseDpi;
    const int border = edge();
    const SIZE outer{static_cast<LONG>(std::lround(innerWidth * scale_)) + 2 * border,
                     static_cast<LONG>(std::lround(innerHeight * scale_)) + 2 * border};
    ::SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return outer;
}

bool Picture1::setPicture(std::shared_ptr<const frames::FramePicture> picture)
{
    if (picture == picture_) {
        return false;
    }
    picture_ = std::move(picture);
    // Drawn now rather than at the next WM_PAINT: the picture is on screen before the wait begins.
    if (HDC dc = ::GetDC(hwnd_)) {
        draw(dc);
        ::ReleaseDC(hwnd_, dc);
    }
    return true;
}

void Picture1::draw(HDC dc) const
{
    if (!picture_) {
        return;
    }
    using frames::frameHeight;
    using frames::frameWidth;
    const BITMAPINFO* info = picture_->info();
    if (scale_ == 1) {
        ::SetDIBitsToDevice(dc, 0, 0, frameWidth, frameHeight, 0, 0, 0, frameHeight, picture_->bits(),
                            info, DIB_RGB_COLORS);
        return;
    }
    // Nearest neighbour: at 200 % every frame pixel is an exact 2 x 2 block, never smoothed.
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchDIBits(dc, 0, 0, static_cast<int>(std::lround(frameWidth * scale_)),
                    static_cast<int>(std::lround(frameHeight * scale_)), 0, 0, frameWidth, frameHeight,
                    picture_->bits(), info, DIB_RGB_COLORS, SRCCOPY);
}

void Picture1::paint()
{
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(hwnd_, &paint);
    RECT inner{};
    ::GetClientRect(hwnd_, &inner);
    if (picture_) {
        // Only the cut-off part below the picture needs the background.
        inner.top = static_cast<LONG>(std::lround(frames::frameHeight * scale_));
        draw(dc);
    }
    ::FillRect(dc, &inner, ::GetSysColorBrush(COLOR_BTNFACE));
    ::EndPaint(hwnd_, &paint);
}

void Picture1::mouseMove(WPARAM wParam, LPARAM lParam)
{
    // Windows also sends WM_MOUSEMOVE when nothing moved: after a click, a capture change or a
    // window shown under the pointer. Only real moves reach the handler, as on X.
    if (lParam == lastMove_) {
        return;
    }
    lastMove_ = lParam;
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    RECT inner{};
    ::GetClientRect(hwnd_, &inner);
    // Moves are reported over the inner area, and anywhere while a button pressed here is held.
    const POINT at{x, y};
    if (::GetCapture() != hwnd_ && !::PtInRect(&inner, at)) {
        return;
    }
    const double col = std::floor(x / scale_);
    const double row = std::floor(y / scale_);
    events_.mouseMove(buttonState(wParam), shiftState(wParam),
                      unitsAcross(col), unitsDown(row));
}

void Picture1::press(int button)
{
    // Moves outside the surface keep coming while the button is held.
    ::SetCapture(hwnd_);
    clickButton_ = (button == leftButton || button == rightButton) ? button : 0;
}

void Picture1::release(int button, WPARAM wParam, LPARAM lParam)
{
    // A click is a press and release of the same button, released over the surface.
    RECT outer{};
    ::GetWindowRect(hwnd_, &outer);
    POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ClientToScreen(hwnd_, &at);
    const bool click = clickButton_ != 0 && button == clickButton_ && ::PtInRect(&outer, at);
    clickButton_ = 0;
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        ::ReleaseCapture();
    }
    if (click) {
        events_.click();
    }
}

LRESULT CALLBACK Picture1::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<Picture1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Picture1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        // Every pixel is painted in WM_PAINT.
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_CHAR:
        // The keypad's + - * / . arrive here as characters too; codes beyond one byte are no commands.
        if (wParam <= 0xFF) {
            auto keyAscii = static_cast<std::int16_t>(wParam);
            events_.keyPress(keyAscii);
        }
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        press(leftButton);
        return 0;
    case WM_RBUTTONDOWN:
        press(rightButton);
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        press(middleButton);
        return 0;
    case WM_LBUTTONUP:
        release(leftButton, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        release(rightButton, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        release(middleButton, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        // The first press already made its click; the release after this one makes none.
        press(0);
        events_.dblClick();
        return 0;
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace qex
