#pragma once

#include "platforms/surface_events.h"
#include "platforms/web/event_queue.h"

namespace qex {

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
