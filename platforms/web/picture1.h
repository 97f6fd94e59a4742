#pragma once

#include "platforms/web/event_queue.h"

#include <cstdint>

namespace qex {

// Receives the display surface's input, already translated into the program's own terms.
class SurfaceEvents {
public:
    virtual ~SurfaceEvents() = default;
    virtual void keyPress(std::int16_t& keyAscii) = 0;
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in surface units.
    virtual void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) = 0;
    virtual void click() = 0;
    virtual void dblClick() = 0;
};

// The display surface: the page's canvas inside a 2-pixel inset border; turns the page's
// queued input into handler calls, with pointer positions in the surface's user scale.
class Picture1 {
public:
    explicit Picture1(SurfaceEvents& events) : events_(events) {}
    void deliver(const SurfaceEvent& event);

private:
    SurfaceEvents& events_;
};

}  // namespace qex
