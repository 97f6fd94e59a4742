#include "platforms/web/event_queue.h"

#include <emscripten/emscripten.h>

namespace qex {

bool EventQueue::pop(SurfaceEvent& event)
{
    if (events_.empty()) {
        return false;
    }
    event = events_.front();
    events_.pop_front();
    return true;
}

}  // namespace qex

// Called by the page's listeners with the queue that qex_page_attach was given.
extern "C" EMSCRIPTEN_KEEPALIVE void qex_surface_event(qex::EventQueue* queue, int kind, int a,
                                                       int b, int c, int d)
{
    using Kind = qex::SurfaceEvent::Kind;
    switch (kind) {
    case 0:
        queue->push({.kind = Kind::key, .code = a});
        break;
    case 1:
        queue->push({.kind = Kind::move, .buttons = a, .shift = b, .col = c, .row = d});
        break;
    case 2:
        queue->push({.kind = Kind::click});
        break;
    case 3:
        queue->push({.kind = Kind::dblClick});
        break;
    default:
        break;
    }
}
