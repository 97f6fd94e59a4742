#include "process.h"

#include "unique_fd.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

ExitStatus decode(int raw)
{
    ExitStatus status;
    if (WIFEXITED(raw)) {
        status.exited = true;
        status.code = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        status.signal = WTERMSIG(raw);
    }
    return status;
}

std::string resolveProgram(const std::string& name, const Environment& environment)
{
    if (name.find('/') != std::string::npos) {
        return name;
    }
    std::istringstream path(environment.get("PATH").empty() ? "/usr/bin:/bin" : environment.get("PATH"));
    for (std::string dir; std::getline(path, dir, ':');) {
        const std::string candidate = dir + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    throw std::runtime_error("cannot find " + name + " on PATH");
}

// In the child only: every signal back to its default action and none blocked, as when
// started from a terminal. Ignored signals survive exec, and a runner started as a shell's
// background job ignores SIGINT; passed on, that would hide how the program itself reacts.
void resetSignals()
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    ::sigemptyset(&action.sa_mask);
    for (int number = 1; number < NSIG; ++number) {
        // Fails harmlessly for the signals that cannot be changed.
        ::sigaction(number, &action, nullptr);
    }
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
}

// In the child only: dup2 clears close-on-exec, but not when the numbers already agree.
void moveFd(int from, int to)
{
    if (from == to) {
        ::fcntl(to, F_SETFD, 0);
    } else {
        ::dup2(from, to);
    }
}

}  // namespace

std::string describe(const ExitStatus& status)
{
    if (status.exited) {
        return "exit status " + std::to_string(status.code);
    }
    return "killed by signal " + std::to_string(status.signal);
}

Environment Environment::inherited()
{
    Environment environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals != std::string::npos) {
            environment.vars_[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        environment.vars_.erase(name);
    }
    return environment;
}

void Environment::set(const std::string& name, const std::string& value)
{
    vars_[name] = value;
}

std::string Environment::get(const std::string& name) const
{
    const auto found = vars_.find(name);
    return found == vars_.end() ? std::string() : found->second;
}

std::vector<std::string> Environment::entries() const
{
    std::vector<std::string> entries;
    for (const auto& [name, value] : vars_) {
        entries.push_back(name + "=" + value);
    }
    return entries;
}

ChildProcess::ChildProcess(const SpawnOptions& options)
{
    if (options.argv.empty()) {
        throw std::invalid_argument("no program to start");
    }
    // Everything the child needs is prepared before fork: after it only system calls run.
    const std::string program = resolveProgram(options.argv.front(), options.environment);
    std::vector<std::string> envStrings = options.environment.entries();
    std::vector<char*> argv;
    std::vector<char*> envp;
    std::vector<std::string> argStrings = options.argv;
    for (auto& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    for (auto& entry : envStrings) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    const Fd devNull(::open("/dev/null", O_RDWR | O_CLOEXEC));
    if (devNull.get() < 0) {
        fail("open /dev/null");
    }
    const int stdoutFd = options.stdoutFd >= 0 ? options.stdoutFd : devNull.get();
    const int stderrFd = options.stderrFd >= 0 ? options.stderrFd : STDERR_FILENO;
    const pid_t parent = ::getpid();

    pid_ = ::fork();
    if (pid_ < 0) {
        fail("fork");
    }
    if (pid_ == 0) {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        resetSignals();
        moveFd(devNull.get(), STDIN_FILENO);
        moveFd(stdoutFd, STDOUT_FILENO);
        moveFd(stderrFd, STDERR_FILENO);
        if (options.extraFd >= 0) {
            moveFd(options.extraFd, 3);
        }
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    // Also set from this side, so the group exists before anyone signals it.
    ::setpgid(pid_, pid_);
}

ChildProcess::~ChildProcess()
{
    if (!status_) {
        killGroupAndReap();
    }
}

std::optional<ExitStatus> ChildProcess::poll()
{
    if (status_) {
        return status_;
    }
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0) {
        return std::nullopt;
    }
    // The leader is a zombie until reaped, so its group id cannot have been reused yet:
    // anything it left behind in the group goes now.
    killGroupAndReap();
    return status_;
}

std::optional<ExitStatus> ChildProcess::waitForExit(Clock::duration timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (auto status = poll()) {
            return status;
        }
        if (Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(2ms);
    }
}

void ChildProcess::terminate(Clock::duration grace)
{
    if (status_) {
        return;
    }
    ::kill(-pid_, SIGTERM);
    if (!waitForExit(grace)) {
        killGroupAndReap();
    }
}

void ChildProcess::killGroupAndReap()
{
    ::kill(-pid_, SIGKILL);
    int raw = 0;
    while (::waitpid(pid_, &raw, 0) < 0 && errno == EINTR) {
    }
    status_ = decode(raw);
}

}  // namespace qex::x11test
