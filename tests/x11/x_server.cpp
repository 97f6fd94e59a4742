#include "x_server.h"

#include "unique_fd.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

constexpr auto startTimeout = 20s;
constexpr auto stopGrace = 3s;

// Reads the display number Xvfb writes to the -displayfd descriptor once it is ready, as ":N".
std::string readDisplayName(int fd, ChildProcess& server)
{
    const auto deadline = Clock::now() + startTimeout;
    // Built in place: GCC 12 sees a false overlap in ":" + a returned string.
    std::string name = ":";
    while (Clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) {
            if (server.poll()) {
                break;
            }
            continue;
        }
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got == 0 || (got < 0 && errno != EINTR)) {
            break;
        }
        if (got == 1 && c == '\n') {
            return name;
        }
        if (got == 1) {
            name.push_back(c);
        }
    }
    throw std::runtime_error("Xvfb did not announce a display number");
}

}  // namespace

XServer::XServer()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe for Xvfb failed");
    }
    const Fd readEnd(fds[0]);
    Fd writeEnd(fds[1]);
    SpawnOptions options;
    // -noreset: the server must not reset itself whenever its last client disconnects,
    // which happens between the helper tools a test runs.
    options.argv = {"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"};
    options.environment = Environment::inherited();
    // Its start-up chatter would bury the tests' own output.
    const Fd devNull(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    options.stderrFd = devNull.get();
    options.extraFd = writeEnd.get();
    process_ = std::make_unique<ChildProcess>(options);
    // Closing this side lets a dying server show up as end of file.
    writeEnd.reset();
    try {
        display_ = readDisplayName(readEnd.get(), *process_);
    } catch (...) {
        process_->terminate(stopGrace);
        throw;
    }
}

XServer::~XServer()
{
    // A polite stop lets Xvfb remove its socket and lock file.
    process_->terminate(stopGrace);
}

void XServer::stop()
{
    process_->terminate(stopGrace);
}

Environment XServer::environment() const
{
    Environment environment = Environment::inherited();
    environment.set("DISPLAY", display_);
    return environment;
}

}  // namespace qex::x11test
