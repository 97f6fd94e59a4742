#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qex::x11test {

using Clock = std::chrono::steady_clock;

// How a child ended: through exit() with a code, or killed by a signal.
struct ExitStatus {
    bool exited = false;
    int code = -1;
    int signal = 0;
};

std::string describe(const ExitStatus& status);

// A child's environment: the test's own without anything that chooses a display,
// a platform plugin or a scale, so each child sees only what its test sets.
class Environment {
public:
    static Environment inherited();
    void set(const std::string& name, const std::string& value);
    std::vector<std::string> entries() const;
    std::string get(const std::string& name) const;

private:
    std::map<std::string, std::string> vars_;
};

struct SpawnOptions {
    std::vector<std::string> argv;
    Environment environment;
    int stderrFd = -1;       // -1: the test's own stderr
    int stdoutFd = -1;       // -1: /dev/null
    int extraFd = -1;        // handed to the child as descriptor 3
};

// A child in its own process group. The whole group is killed when this object goes,
// and the kernel kills the child if the test process dies first, so nothing outlives a test.
class ChildProcess {
public:
    explicit ChildProcess(const SpawnOptions& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    // The exit status once the child has ended; never blocks.
    std::optional<ExitStatus> poll();
    std::optional<ExitStatus> waitForExit(Clock::duration timeout);
    // SIGTERM to the group, SIGKILL if it is still there after the grace period.
    void terminate(Clock::duration grace);

private:
    void killGroupAndReap();

    pid_t pid_ = -1;
    std::optional<ExitStatus> status_;
};

}  // namespace qex::x11test
