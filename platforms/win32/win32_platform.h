#pragma once

#include "platforms/desktop_platform.h"
#include "platforms/win32/frame_set.h"
#include "platforms/win32/picture1.h"

#include <windows.h>

#include <chrono>

namespace qex {

// The play loop's platform on Win32: shows frames on the surface, dispatches the thread's
// messages, waits on a high-resolution waitable timer while still dispatching, and ends the process.
class Win32Platform final : public DesktopPlatform<Picture1, frames::FrameSet> {
public:
    Win32Platform(HWND window, Picture1& surface, const frames::FrameSet& frames);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    void PumpEvents() override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

private:
    using DelayExecution = LONG(WINAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);

    void waitUntil(Clock::time_point deadline) override;
    void sleepUntilInput() override;
    Clock::duration refreshInterval() override;
    void sleepOut(Clock::time_point deadline);
    void armTimer(Clock::duration span);
    bool fineSleepHelps();

    HWND window_;
    HANDLE timer_ = nullptr;
    bool raisedTimerResolution_ = false;
    DelayExecution fineSleep_ = nullptr;  // the system's own sleep, where it is finer than the timer
    HMONITOR monitor_ = nullptr;
    Clock::duration refresh_{};
};

}  // namespace qex
