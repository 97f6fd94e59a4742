// Times the Windows platform's wait with a shown window (under Wine, as the bench runs it); see
// bench_samples.h for its output.
#include "bench/bench_samples.h"
#include "platforms/win32/frame_set.h"
#include "platforms/win32/picture1.h"
#include "platforms/win32/win32_platform.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

HWND showWindow()
{
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = DefWindowProcW;
    type.hInstance = self;
    type.lpszClassName = L"QexPaceBench";
    ::RegisterClassExW(&type);
    HWND window = ::CreateWindowExW(0, type.lpszClassName, L"qex pace bench", WS_OVERLAPPED | WS_CAPTION,
                                    0, 0, 360, 440, nullptr, nullptr, self, nullptr);
    if (!window) {
        std::fprintf(stderr, "qex-win-pace-bench: no window\n");
        std::exit(1);
    }
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
    return window;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    const qex::frames::FrameSet frames;
    bench::NoEvents events;
    HWND window = showWindow();
    qex::Picture1 surface(events, window);
    surface.place(96);
    qex::Win32Platform platform(window, surface, frames);
    // The window's first messages (show, activation, paint) are over before timing starts.
    const auto settled = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < settled) {
        platform.Wait(std::chrono::milliseconds(10));
        platform.PumpEvents();
    }
    bench::printWaitPace(platform, [] { return Millis(Clock::now().time_since_epoch()).count(); }, smoke ? 5 : 40);
    return 0;
}
