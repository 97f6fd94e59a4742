#include "platforms/web/web_platform.h"

#include "platforms/web/page.h"

#include <emscripten/emscripten.h>

#include <limits>
#include <string>

namespace qex {

PageClock::time_point PageClock::now()
{
    return time_point(duration(emscripten_get_now()));
}

WebPlatform::WebPlatform(const frames::WebFrameSet& frames, EventQueue& queue, Picture1& surface)
    : frames_(frames), queue_(queue), surface_(surface)
{
}

PictureRef WebPlatform::PictureOf(int holder)
{
    if (holder < 1 || holder > frames::frameCount) {
        RaiseError("there is no picture holder " + std::to_string(holder));
    }
    PictureRef picture = frames_.PictureOf(holder);
    if (!picture) {
        RaiseError("the browser could not decode built-in picture " + std::to_string(holder));
    }
    return picture;
}

void WebPlatform::ShowPicture(const PictureRef& picture)
{
    const auto* frame = dynamic_cast<const frames::WebPicture*>(picture.get());
    if (!frame) {
        RaiseError("the display surface was given no picture to show");
    }
    const bool same = frame->holder() == shown_;
    stillPlayer_.pictureShown(same);
    if (same) {
        return;
    }
    // A picture replaced before a refresh has drawn it would never be seen: wait for that refresh.
    constexpr double untilDrawn = std::numeric_limits<double>::infinity();
    while (!qex_page_presented()) {
        qex_page_sleep(untilDrawn, 1);
        deliverQueued();
    }
    shown_ = frame->holder();
    qex_page_show(shown_);
}

void WebPlatform::PumpEvents()
{
    // Input reaches the page only while the browser has the thread, so every pump yields once.
    qex_page_sleep(0, 0);
    deliverQueued();
}

void WebPlatform::Wait(std::chrono::microseconds span)
{
    waitUntil(waits_.deadline(PageClock::now(), span));
    // Stopped, a pass changes nothing until a handler runs: the page sleeps until input comes
    // instead of handing the thread back and forth at the fastest pace.
    constexpr double untilInput = std::numeric_limits<double>::infinity();
    while (stillPlayer_.still()) {
        qex_page_sleep(untilInput, 0);
        deliverQueued();
        waits_.restart(PageClock::now());
    }
}

void WebPlatform::waitUntil(PageClock::time_point deadline)
{
    for (auto now = PageClock::now(); now < deadline; now = PageClock::now()) {
        qex_page_sleep((deadline - now).count(), 0);
        deliverQueued();
    }
}

void WebPlatform::deliverQueued()
{
    SurfaceEvent event{};
    while (queue_.pop(event)) {
        stillPlayer_.inputArrived();
        surface_.deliver(event);
    }
}

void WebPlatform::EndProgram()
{
    throw ProgramEnd{false};
}

void WebPlatform::RaiseError(std::string_view what)
{
    const std::string line = "qex-lifts: error: " + std::string(what);
    qex_page_report(line.c_str());
    throw ProgramEnd{true};
}

}  // namespace qex
