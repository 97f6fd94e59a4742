#include "process.h"

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace bench {

Child::Child(char* const argv[]) : pid_(fork())
{
    if (pid_ < 0) {
        throw std::runtime_error("cannot fork");
    }
    if (pid_ == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
}

Child::~Child()
{
    if (ended_) {
        return;
    }
    int status = 0;
    kill(pid_, SIGTERM);
    if (!waitForEnd(std::chrono::milliseconds(2000), status)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
}

bool Child::waitForEnd(std::chrono::milliseconds limit, int& status)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    // Polled finely, so the moment the viewer is gone is known to within 0.1 ms.
    for (;;) {
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            ended_ = true;
            return true;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
}

double processorSeconds(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold spaces; the fields after it start past its closing parenthesis.
    const auto close = text.rfind(')');
    if (close == std::string::npos) {
        throw std::runtime_error("cannot read /proc/" + std::to_string(pid) + "/stat");
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long utime = 0, stime = 0;
    // Fields 3..13 come first; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 15 && fields >> field; ++number) {
        if (number == 14) utime = std::stol(field);
        if (number == 15) stime = std::stol(field);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double runSeconds(pid_t pid)
{
    double seconds = 0;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream file(task.path() / "schedstat");
        long long nanoseconds = 0;
        if (file >> nanoseconds) {
            seconds += static_cast<double>(nanoseconds) / 1e9;
        }
    }
    return seconds;
}

long peakResidentKiB(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace bench
