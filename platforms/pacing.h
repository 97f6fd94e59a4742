#pragma once

#include <chrono>

namespace qex {

// Deadlines for the loop's waits, which run back to back like a metronome: the work of a pass
// since the previous wait (showing, pumping) is taken out of this wait when it fits, so a pass
// lasts its count.
template <class Clock>
class BackToBackWaits {
public:
    using time_point = typename Clock::time_point;
    using duration = typename Clock::duration;

    // The end of a wait of span asked for at now; the next wait counts from it.
    time_point deadline(time_point now, duration span)
    {
        end_ = (now - end_ < span) ? end_ + span : now + span;
        return end_;
    }

    // A wait that went on past its deadline (a stopped player asleep) starts the count again.
    void restart(time_point now) { end_ = now; }

private:
    // Long before any clock reading, yet far from overflowing when subtracted from one.
    time_point end_{duration::min() / 2};
};

// New pictures go up no sooner than one refresh apart: one replaced before a refresh is never seen.
template <class Clock>
class RefreshGate {
public:
    using time_point = typename Clock::time_point;
    using duration = typename Clock::duration;

    // The earliest the next picture may go up.
    time_point due(duration refresh) const { return last_ + refresh; }

    // A picture went up at now; counted from when it was due, so that drawing it does not push
    // later pictures back.
    void shown(time_point now, duration refresh)
    {
        const time_point was = due(refresh);
        last_ = (now - was < refresh) ? was : now;
    }

private:
    time_point last_{duration::min() / 2};
};

// Tells when the player is stopped: a pass showed the picture of the pass before with no
// handler run in between, so every further pass would show the same until a handler runs.
class StillPlayer {
public:
    void pictureShown(bool same)
    {
        still_ = same && !inputSinceShow_;
        inputSinceShow_ = false;
    }
    void inputArrived()
    {
        still_ = false;
        inputSinceShow_ = true;
    }
    bool still() const { return still_; }

private:
    bool still_ = false;
    bool inputSinceShow_ = false;
};

}  // namespace qex
