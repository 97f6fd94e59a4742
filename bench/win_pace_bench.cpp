// Times the Windows platform's wait with a shown window (under Wine, as the bench runs it): waits
// back to back, as the loop makes them, each followed by a pump; prints one line per span:
//   pace <span ms> <median error ms> <p99 error ms> <waits>
#include "platforms/win32/frame_set.h"
#include "platforms/win32/picture1.h"
#include "platforms/win32/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

class NoEvents final : public qex::SurfaceEvents {
public:
    void keyPress(std::int16_t&) override {}
    void mouseMove(std::int16_t, std::int16_t, float, float) override {}
    void click() override {}
    void dblClick() override {}
};

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

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
    NoEvents events;
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
    const int waits = smoke ? 5 : 40;
    for (const int spanMs : {1, 2, 5, 10, 20, 50, 100}) {
        const auto span = std::chrono::milliseconds(spanMs);
        std::vector<double> errors;
        platform.Wait(span);
        auto last = Clock::now();
        for (int i = 0; i < waits; ++i) {
            platform.Wait(span);
            const auto now = Clock::now();
            errors.push_back(std::fabs(Millis(now - last).count() - spanMs));
            last = now;
            platform.PumpEvents();
        }
        std::printf("pace %d %.3f %.3f %d\n", spanMs, quantile(errors, 0.5), quantile(errors, 0.99), waits);
        std::fflush(stdout);
    }
    std::printf("done\n");
    return 0;
}
