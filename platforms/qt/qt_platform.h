#pragma once

#include "engine/platform.h"
#include "platforms/pacing.h"
#include "platforms/qt/frame_set.h"

#include <QTimer>

#include <chrono>

class QWidget;

namespace qex {

class Picture1;

// The play loop's platform on Qt: shows frames on the surface, runs Qt's event queue,
// waits by sleeping on a monotonic deadline, and ends the process.
class QtPlatform final : public Platform {
public:
    using Clock = std::chrono::steady_clock;

    QtPlatform(QWidget& window, Picture1& surface, const frames::FrameSet& frames);

    PictureRef PictureOf(int holder) override;
    void ShowPicture(const PictureRef& picture) override;
    void PumpEvents() override;
    void Wait(std::chrono::microseconds span) override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

    // A key or pointer handler has run: the player's state may have changed.
    void inputArrived() { stillPlayer_.inputArrived(); }

private:
    void waitUntil(Clock::time_point deadline);
    Clock::duration refreshInterval() const;

    QWidget& window_;
    Picture1& surface_;
    const frames::FrameSet& frames_;
    QTimer wakeUp_;
    RefreshGate<Clock> refreshGate_;
    BackToBackWaits<Clock> waits_;
    StillPlayer stillPlayer_;
};

}  // namespace qex
