#pragma once

#include "platforms/desktop_platform.h"
#include "platforms/qt/frame_set.h"
#include "platforms/qt/picture1.h"

#include <QTimer>

#include <chrono>

class QWidget;

namespace qex {

// The play loop's platform on Qt: shows frames on the surface, runs Qt's event queue,
// waits by sleeping on a monotonic deadline, and ends the process.
class QtPlatform final : public DesktopPlatform<Picture1, frames::FrameSet> {
public:
    QtPlatform(QWidget& window, Picture1& surface, const frames::FrameSet& frames);

    void PumpEvents() override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

private:
    void waitUntil(Clock::time_point deadline) override;
    void sleepUntilInput() override;
    Clock::duration refreshInterval() override;

    QWidget& window_;
    QTimer wakeUp_;
};

}  // namespace qex
