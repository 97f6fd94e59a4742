#include "platforms/win32/form1.h"

#include "engine/play_loop.h"
#include "input/handlers.h"
#include "platforms/win32/error_report.h"

#include <cmath>

namespace qex {
namespace {

constexpr wchar_t className[] = L"QexLiftsForm1";
constexpr wchar_t ownerClassName[] = L"QexLiftsOwner";
constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD extendedStyle = 0;
constexpr double baseDpi = 96;
constexpr int pictureRows = 405;  // logical pixels of the surface that the window shows
constexpr int iconResource = 1;

void registerClasses(WNDPROC procedure)
{
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = procedure;
    type.hInstance = self;
    type.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    type.hIcon = static_cast<HICON>(::LoadImageW(self, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                                 0, 0, LR_DEFAULTSIZE));
    type.hIconSm = static_cast<HICON>(::LoadImageW(self, MAKEINTRESOURCEW(iconResource), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), 0));
    type.lpszClassName = className;
    WNDCLASSEXW owner{};
    owner.cbSize = sizeof owner;
    owner.lpfnWndProc = DefWindowProcW;
    owner.hInstance = self;
    owner.lpszClassName = ownerClassName;
    if (!::RegisterClassExW(&type) || !::RegisterClassExW(&owner)) {
        reportErrorAndExit("the window classes could not be registered: " + lastErrorText());
    }
}

}  // namespace

const wchar_t* const Form1::caption = L"QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC";

Form1::Form1(const frames::FrameSet& frames)
{
    registerClasses(&Form1::procedure);
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    // An owned window gets no task-bar button; Alt+Tab still lists it.
    owner_ = ::CreateWindowExW(0, ownerClassName, L"", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, self, nullptr);
    hwnd_ = ::CreateWindowExW(extendedStyle, className, caption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr, self, this);
    if (!owner_ || !hwnd_) {
        reportErrorAndExit("the window could not be created: " + lastErrorText());
    }
    picture1_ = std::make_unique<Picture1>(static_cast<SurfaceEvents&>(*this), hwnd_);
    platform_ = std::make_unique<Win32Platform>(hwnd_, *picture1_, frames);
    layout(::GetDpiForWindow(hwnd_), nullptr);
}

void Form1::layout(UINT dpi, const RECT* suggested)
{
    const SIZE surface = picture1_->place(dpi);
    // The window cuts the surface just below the picture and its top edge.
    const int rows = static_cast<int>(std::lround(pictureRows * dpi / baseDpi)) + picture1_->edge();
    RECT frame{0, 0, surface.cx, rows};
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, extendedStyle, dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (suggested) {
        ::SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, width, height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        ::SetWindowPos(hwnd_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

void Form1::show()
{
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::SetFocus(picture1_->handle());
}

void Form1::run()
{
    MSG message;
    while (!activated_) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            platform_->RaiseError("the message queue ended before the window was activated");
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // Entered from the top of the message loop rather than from inside the activation's dispatch.
    Form_Activate(state_, *platform_);
}

LRESULT CALLBACK Form1::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Form1*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->platform_) {
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            // The surface is the only control: it takes the keys whenever the window is active.
            ::SetFocus(picture1_->handle());
            activated_ = true;
        }
        return 0;
    case WM_SHOWWINDOW:
        if (wParam) {
            activated_ = true;
        }
        break;
    case WM_CLOSE:
        // Alt+F4, the close box or the system menu: a loop without its window must not go on.
        platform_->EndProgram();
    case WM_DPICHANGED:
        layout(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

void Form1::keyPress(std::int16_t& keyAscii)
{
    platform_->inputArrived();
    Picture1_KeyPress(state_, *platform_, keyAscii);
}

void Form1::mouseMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    platform_->inputArrived();
    Picture1_MouseMove(state_, *platform_, button, shift, x, y);
}

void Form1::click()
{
    platform_->inputArrived();
    Picture1_Click(state_);
}

void Form1::dblClick()
{
    platform_->inputArrived();
    Picture1_DblClick(*platform_);
}

}  // namespace qex
