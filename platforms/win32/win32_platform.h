#pragma once

#include "engine/platform.h"
#include "platforms/pacing.h"
#include "platforms/win32/frame_set.h"

#include <windows.h>

#include <chrono>

namespace qex {

class Picture1;

// The play loop's platform on Win32: shows frames on the surface, dispatches the thread's
// messages, waits on a high-resolution waitable timer while still dispatching, and ends the process.
class Win32Platform final : public Platform {
public:
    using Clock = std::chrono::steady_clock;

    Win32Platform(HWND window, Picture1& surface, const frames::FrameSet& frames);
    ~Win32Platform() override;
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;

    PictureRef PictureOf(int holder) override;
    void ShowPicture(const PictureRef& picture) override;
    void PumpEvents() override;
    void Wait(std::chrono::microseconds span) override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

    // A key or pointer handler has run: the player's state may have changed.
    void inputArrived() { stillPlayer_.inputArrived(); }

private:
    using DelayExecution = LONG(WINAPI*)(BOOLEAN alertable, const LARGE_INTEGER* interval);

    void waitUntil(Clock::time_point deadline);
    void sleepOut(Clock::time_point deadline);
    void armTimer(Clock::duration span);
    bool fineSleepHelps();
    Clock::duration refreshInterval();

    HWND window_;
    Picture1& surface_;
    const frames::FrameSet& frames_;
    HANDLE timer_ = nullptr;
    bool raisedTimerResolution_ = false;
    DelayExecution fineSleep_ = nullptr;  // the system's own sleep, where it is finer than the timer
    HMONITOR monitor_ = nullptr;
    Clock::duration refresh_{};
    RefreshGate<Clock> refreshGate_;
    BackToBackWaits<Clock> waits_;
    StillPlayer stillPlayer_;
};

}  // namespace qex
