#pragma once

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <optional>

namespace qex {

enum class PollResult {
    readable,
    timedOut,
    woken,   // by a signal, or writable when that was asked for
    failed,  // the descriptor broke, or poll itself failed
};

// Sleeps until fd has something to read (or, if asked, room to write) or the deadline, if any,
// has come; a deadline already past only looks.
inline PollResult pollUntil(int fd, std::optional<std::chrono::steady_clock::time_point> deadline,
                            bool orWritable = false)
{
    pollfd polled{fd, static_cast<short>(POLLIN | (orWritable ? POLLOUT : 0)), 0};
    timespec timeout{};
    if (deadline) {
        const auto left = std::max(std::chrono::steady_clock::duration::zero(),
                                   *deadline - std::chrono::steady_clock::now());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timeout.tv_sec = static_cast<std::time_t>(ns / 1'000'000'000);
        timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    // A nanosecond timeout: the kernel wakes the thread at the deadline, within its timer slack.
    const int ready = ::ppoll(&polled, 1, deadline ? &timeout : nullptr, nullptr);
    if (ready < 0) {
        return errno == EINTR ? PollResult::woken : PollResult::failed;
    }
    if (ready == 0) {
        return PollResult::timedOut;
    }
    if (polled.revents & POLLIN) {
        return PollResult::readable;
    }
    return (polled.revents & (POLLERR | POLLHUP | POLLNVAL)) ? PollResult::failed : PollResult::woken;
}

// When to look at a connection's socket: the loop pumps several times a pass and each look is a
// system call, so the socket is read when the last wait saw it readable, else at most once a
// millisecond.
class SocketLooks {
public:
    using Clock = std::chrono::steady_clock;

    bool due(Clock::time_point now) const { return readable_ || now - lookedAt_ >= every; }
    // The socket was read, or found empty; readableStill if a wait saw more than it read.
    void looked(Clock::time_point now, bool readableStill = false)
    {
        lookedAt_ = now;
        readable_ = readableStill;
    }
    void sawReadable() { readable_ = true; }

private:
    static constexpr auto every = std::chrono::milliseconds(1);
    bool readable_ = true;
    Clock::time_point lookedAt_{};
};

// A timed sleep costs the processor several microseconds and wakes as much late: a wait shorter
// than that, such as the fastest pace's, is met by watching the clock. True if it was.
inline bool meetShortWait(std::chrono::steady_clock::time_point deadline)
{
    constexpr auto shortestSleep = std::chrono::microseconds(10);
    if (deadline - std::chrono::steady_clock::now() >= shortestSleep) {
        return false;
    }
    while (std::chrono::steady_clock::now() < deadline) {
    }
    return true;
}

}  // namespace qex
