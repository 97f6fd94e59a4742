#include "command.h"

#include "unique_fd.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qex::x11test {
namespace {

int remainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

CommandResult runCommand(const std::vector<std::string>& argv, const Environment& environment,
                         Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    }
    const Fd readEnd(fds[0]);
    Fd writeEnd(fds[1]);
    SpawnOptions options;
    options.argv = argv;
    options.environment = environment;
    options.stdoutFd = writeEnd.get();
    ChildProcess child(options);
    writeEnd.reset();

    CommandResult result;
    char buffer[65536];
    for (;;) {
        if (Clock::now() >= deadline) {
            throw std::runtime_error(argv.front() + " did not finish in time");
        }
        pollfd ready{readEnd.get(), POLLIN, 0};
        const int events = ::poll(&ready, 1, remainingMs(deadline));
        if (events <= 0) {
            continue;
        }
        const ssize_t got = ::read(readEnd.get(), buffer, sizeof buffer);
        if (got > 0) {
            result.out.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            throw std::runtime_error("read from " + argv.front() + ": " + std::strerror(errno));
        }
    }
    const auto status = child.waitForExit(deadline - Clock::now());
    if (!status) {
        throw std::runtime_error(argv.front() + " did not exit in time");
    }
    result.status = *status;
    return result;
}

}  // namespace qex::x11test
