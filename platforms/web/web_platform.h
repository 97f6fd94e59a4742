#pragma once

#include "engine/platform.h"
#include "platforms/pacing.h"
#include "platforms/web/event_queue.h"
#include "platforms/web/picture1.h"
#include "platforms/web/web_frames.h"

#include <chrono>

namespace qex {

// Thrown by the ending actions and caught in main: leaving the loop by unwinding is the only way
// a page can stop a program that never returns, without an error in the console.
struct ProgramEnd {
    bool failed;
};

// The page's clock: milliseconds since navigation, as finely as the browser gives them.
struct PageClock {
    using rep = double;
    using period = std::milli;
    using duration = std::chrono::duration<rep, period>;
    using time_point = std::chrono::time_point<PageClock>;
    static constexpr bool is_steady = true;
    static time_point now();
};

// The play loop's platform in a web page: the loop's waits hand the thread to the browser,
// input queued meanwhile reaches the handlers at once, pictures are drawn at display refreshes.
class WebPlatform final : public Platform {
public:
    WebPlatform(const frames::WebFrameSet& frames, EventQueue& queue, Picture1& surface);

    PictureRef PictureOf(int holder) override;
    void ShowPicture(const PictureRef& picture) override;
    void PumpEvents() override;
    void Wait(std::chrono::microseconds span) override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

private:
    void deliverQueued();
    // Delivers input as it arrives until the deadline has passed.
    void waitUntil(PageClock::time_point deadline);

    const frames::WebFrameSet& frames_;
    EventQueue& queue_;
    Picture1& surface_;
    int shown_ = 0;
    BackToBackWaits<PageClock> waits_;
    StillPlayer stillPlayer_;
};

}  // namespace qex
