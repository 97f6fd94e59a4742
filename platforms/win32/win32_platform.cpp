#include "platforms/win32/win32_platform.h"

#include "platforms/win32/error_report.h"
#include "platforms/win32/picture1.h"

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace qex {
namespace {

using namespace std::chrono_literals;

// Waitable timers fire on a grid of about a millisecond; the last stretch of a wait is slept
// out on its own so the deadline is met more closely than that grid allows.
constexpr auto finalStretch = 1ms;

LONGLONG hundredNanoseconds(std::chrono::steady_clock::duration span)
{
    return std::chrono::duration_cast<std::chrono::duration<LONGLONG, std::ratio<1, 10000000>>>(span).count();
}

}  // namespace

Win32Platform::Win32Platform(HWND window, Picture1& surface, const frames::FrameSet& frames)
    : DesktopPlatform(surface, frames), window_(window)
{
    timer_ = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (!timer_) {
        // Systems before Windows 10 1803 lack the fine timer: make the ordinary one finer instead.
        timer_ = ::CreateWaitableTimerW(nullptr, FALSE, nullptr);
        raisedTimerResolution_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
    }
    if (!timer_) {
        RaiseError("no waitable timer: " + lastErrorText());
    }
    if (HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
        fineSleep_ = reinterpret_cast<DelayExecution>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "NtDelayExecution")));
    }
    if (fineSleep_ && !fineSleepHelps()) {
        fineSleep_ = nullptr;
    }
}

Win32Platform::~Win32Platform()
{
    if (raisedTimerResolution_) {
        ::timeEndPeriod(1);
    }
    ::CloseHandle(timer_);
}

bool Win32Platform::fineSleepHelps()
{
    // Measured rather than assumed: where the system's sleep is no finer than the timer,
    // the timer alone finishes each wait.
    constexpr auto probe = 200us;
    constexpr auto fineEnough = 600us;
    std::array<Clock::duration, 3> taken{};
    for (auto& span : taken) {
        const LARGE_INTEGER interval{.QuadPart = -hundredNanoseconds(probe)};
        const auto start = Clock::now();
        fineSleep_(FALSE, &interval);
        span = Clock::now() - start;
    }
    std::sort(taken.begin(), taken.end());
    return taken[1] < fineEnough;
}

void Win32Platform::PumpEvents()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        // The keyboard's characters, keypad included, come from the translation.
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Win32Platform::sleepUntilInput()
{
    if (::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_FAILED) {
        RaiseError("waiting for messages failed: " + lastErrorText());
    }
    PumpEvents();
}

void Win32Platform::armTimer(Clock::duration span)
{
    // Negative due times are relative to now.
    const LARGE_INTEGER due{.QuadPart = -std::max<LONGLONG>(1, hundredNanoseconds(span))};
    if (!::SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) {
        RaiseError("the waitable timer could not be set: " + lastErrorText());
    }
}

void Win32Platform::waitUntil(Clock::time_point deadline)
{
    // Sleeps until the timer or a message wakes it, dispatching messages as they come.
    const auto stretch = fineSleep_ ? finalStretch : Clock::duration::zero();
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        if (deadline - now <= stretch) {
            PumpEvents();
            sleepOut(deadline);
            return;
        }
        armTimer(deadline - now - stretch);
        const DWORD woke = ::MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_FAILED) {
            RaiseError("waiting for messages failed: " + lastErrorText());
        }
        if (woke == WAIT_OBJECT_0 + 1) {
            PumpEvents();
        }
    }
}

void Win32Platform::sleepOut(Clock::time_point deadline)
{
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        const LARGE_INTEGER interval{.QuadPart = -std::max<LONGLONG>(1, hundredNanoseconds(deadline - now))};
        fineSleep_(FALSE, &interval);
    }
}

Win32Platform::Clock::duration Win32Platform::refreshInterval()
{
    // Asked again only when the window has moved to another monitor.
    HMONITOR monitor = ::MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    if (monitor == monitor_ && refresh_ != Clock::duration::zero()) {
        return refresh_;
    }
    monitor_ = monitor;
    constexpr DWORD fallbackRate = 60;  // Hz, when the monitor does not say
    DWORD rate = fallbackRate;
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    // 0 and 1 both stand for the hardware's default rate, which is not told.
    if (monitor && ::GetMonitorInfoW(monitor, &info) &&
        ::EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) && mode.dmDisplayFrequency > 1) {
        rate = mode.dmDisplayFrequency;
    }
    refresh_ = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
    return refresh_;
}

void Win32Platform::EndProgram()
{
    // The window goes with the process. Hiding it first would wait under Wine, without a window
    // manager to confirm the unmapping, for two seconds.
    std::fflush(nullptr);
    // Nothing of the program's own runs after the end: no destructors, no exit handlers, no
    // library's detach code.
    ::TerminateProcess(::GetCurrentProcess(), EXIT_SUCCESS);
    std::_Exit(EXIT_SUCCESS);
}

void Win32Platform::RaiseError(std::string_view what)
{
    reportErrorAndExit(what);
}

}  // namespace qex
