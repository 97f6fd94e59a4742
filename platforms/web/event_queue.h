#pragma once

#include <deque>

namespace qex {

// One input event of the surface as the page saw it, not yet handed to a handler.
struct SurfaceEvent {
    enum class Kind { key, move, click, dblClick };
    Kind kind;
    int code = 0;     // key: character code 1..255, Escape 27
    int buttons = 0;  // move: 1 left, 2 right, 4 middle
    int shift = 0;    // move: 1 Shift, 2 Ctrl, 4 Alt
    int col = 0;      // move: pixel column and row from the inner top-left corner
    int row = 0;
};

// Input that arrived while the loop was not pumping; the page fills it, the loop empties it.
class EventQueue {
public:
    void push(const SurfaceEvent& event) { events_.push_back(event); }
    // Takes the oldest event; false when there is none.
    bool pop(SurfaceEvent& event);

private:
    std::deque<SurfaceEvent> events_;
};

}  // namespace qex
