#pragma once

#include "engine/platform.h"
#include "frames/numbering.h"
#include "platforms/pacing.h"

#include <chrono>
#include <memory>
#include <string>

namespace qex {

// What the desktop platforms share: the checked picture lookup, new pictures held to the
// display's refresh, and waits that sleep once the player is stopped. Each window system gives
// its own timed wait, its sleep until input and its refresh interval.
template <class Surface, class FrameSet>
class DesktopPlatform : public Platform {
public:
    using Clock = std::chrono::steady_clock;

    PictureRef PictureOf(int holder) final
    {
        if (holder < 1 || holder > frames::frameCount) {
            RaiseError("there is no picture holder " + std::to_string(holder));
        }
        return frames_.PictureOf(holder);
    }

    void ShowPicture(const PictureRef& picture) final
    {
        auto frame = std::dynamic_pointer_cast<const typename FrameSet::FrameType>(picture);
        if (!frame) {
            RaiseError("the display surface was given no picture to show");
        }
        const bool same = frame == surface_.picture();
        stillPlayer_.pictureShown(same);
        if (same) {
            return;
        }
        const auto refresh = refreshInterval();
        waitUntil(refreshGate_.due(refresh));
        refreshGate_.shown(Clock::now(), refresh);
        surface_.setPicture(std::move(frame));
    }

    void Wait(std::chrono::microseconds span) final
    {
        waitUntil(waits_.deadline(Clock::now(), span));
        // Stopped with nothing pending, a pass changes nothing until a handler runs, so sleeping
        // until then looks the same from outside and spends no processor time.
        while (stillPlayer_.still()) {
            sleepUntilInput();
            waits_.restart(Clock::now());
        }
    }

    // A key or pointer handler has run: the player's state may have changed.
    void inputArrived() { stillPlayer_.inputArrived(); }

protected:
    DesktopPlatform(Surface& surface, const FrameSet& frames) : surface_(surface), frames_(frames) {}

    // Sleeps until the deadline, delivering events as they arrive.
    virtual void waitUntil(Clock::time_point deadline) = 0;
    // Sleeps until events have come, and delivers them.
    virtual void sleepUntilInput() = 0;
    // The time between two refreshes of the display the window is on.
    virtual Clock::duration refreshInterval() = 0;

private:
    Surface& surface_;
    const FrameSet& frames_;
    RefreshGate<Clock> refreshGate_;
    BackToBackWaits<Clock> waits_;
    StillPlayer stillPlayer_;
};

}  // namespace qex
