#include "platforms/qt/qt_platform.h"

#include "platforms/qt/picture1.h"

#include <QCoreApplication>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace qex {

QtPlatform::QtPlatform(QWidget& window, Picture1& surface, const frames::FrameSet& frames)
    : DesktopPlatform(surface, frames), window_(window)
{
    // The timer only wakes the event dispatcher at a deadline; nothing is connected to it.
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
}

void QtPlatform::PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::sleepUntilInput()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void QtPlatform::waitUntil(Clock::time_point deadline)
{
    using std::chrono::milliseconds;
    // Qt's timers count whole milliseconds and may fire a few late: sleep in the event dispatcher
    // until shortly before the deadline, delivering events as they come, then sleep out the rest.
    constexpr auto earlyWake = milliseconds(3);
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        const auto whole = std::chrono::duration_cast<milliseconds>(deadline - now) - earlyWake;
        if (whole.count() <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            std::this_thread::sleep_until(deadline);
            return;
        }
        wakeUp_.start(whole);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        wakeUp_.stop();
    }
}

QtPlatform::Clock::duration QtPlatform::refreshInterval()
{
    constexpr double fallbackRate = 60;  // Hz, when the screen does not say
    const QScreen* screen = window_.screen();
    const double rate = (screen && screen->refreshRate() > 1) ? screen->refreshRate() : fallbackRate;
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / rate));
}

void QtPlatform::EndProgram()
{
    window_.hide();
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    // No exit handlers run, so the leak check that would run there runs here.
    __lsan_do_leak_check();
#endif
    // Leaving through Qt's nested event loops would run code after the end; the process stops here.
    std::_Exit(EXIT_SUCCESS);
}

void QtPlatform::RaiseError(std::string_view what)
{
    std::fprintf(stderr, "qex-lifts: error: %.*s\n", static_cast<int>(what.size()), what.data());
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace qex
