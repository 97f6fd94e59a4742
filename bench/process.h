#pragma once

#include <sys/types.h>

#include <chrono>

namespace bench {

// A viewer the probe starts itself, so that its start and its end are timed from here.
class Child {
public:
    explicit Child(char* const argv[]);
    ~Child();  // ends the viewer if it still runs
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    pid_t pid() const { return pid_; }
    // Waits at most `limit` for the viewer to end; true, with its exit status, if it did.
    bool waitForEnd(std::chrono::milliseconds limit, int& status);

private:
    pid_t pid_;
    bool ended_ = false;
};

// Processor time (user + system) a process has used so far, in seconds.
double processorSeconds(pid_t pid);
// The same from the scheduler's nanosecond accounts of the live threads (/proc/PID/task/*/schedstat):
// finer than the clock ticks above, though it misses threads that have already ended.
double runSeconds(pid_t pid);
// Peak resident set size of a process so far, in KiB (VmHWM).
long peakResidentKiB(pid_t pid);

}  // namespace bench
