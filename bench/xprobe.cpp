// Starts a viewer on the current X display and times what it does on screen:
//
//   qex-xprobe start OPTIONS -- VIEWER ARGS...   exec to the first frame's pixels
//   qex-xprobe quit  OPTIONS -- VIEWER ARGS...   Escape to the viewer's end
//   qex-xprobe play  OPTIONS -- VIEWER ARGS...   processor use, peak memory and frames shown
//
// OPTIONS: --black N --white N (the first frame's pure black and white pixel counts),
//          --server PID (a server to add to processor use: the X server, Wine's; repeatable),
//          --settle MS, --seconds S,
//          --pointer COL ROW (held there from the first frame on), --sample (count frames),
//          --stop ("/" typed once the pointer's pace applies, before measuring).
// Prints one line of "name value" pairs; exits non-zero when the viewer does not behave.
#include "process.h"
#include "x_display.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Millis = std::chrono::duration<double, std::milli>;

struct Options {
    std::string mode;
    bench::InkCount least;
    std::vector<pid_t> servers;
    int settleMs = 2500;
    double seconds = 10;
    std::optional<std::pair<int, int>> pointer;
    bool sample = false;
    bool stop = false;
    char** viewer = nullptr;
};

Options parse(int argc, char* argv[])
{
    if (argc < 2) {
        throw std::runtime_error("usage: qex-xprobe start|quit|play OPTIONS -- VIEWER ARGS...");
    }
    Options options;
    options.mode = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto next = [&] {
            if (i + 1 >= argc) throw std::runtime_error(arg + " needs a value");
            return std::string(argv[++i]);
        };
        if (arg == "--") {
            options.viewer = argv + i + 1;
            break;
        }
        if (arg == "--black") options.least.black = std::stol(next());
        else if (arg == "--white") options.least.white = std::stol(next());
        else if (arg == "--server") options.servers.push_back(std::stoi(next()));
        else if (arg == "--settle") options.settleMs = std::stoi(next());
        else if (arg == "--seconds") options.seconds = std::stod(next());
        else if (arg == "--sample") options.sample = true;
        else if (arg == "--stop") options.stop = true;
        else if (arg == "--pointer") {
            const int col = std::stoi(next());
            options.pointer = std::make_pair(col, std::stoi(next()));
        } else throw std::runtime_error("unknown option " + arg);
    }
    if (!options.viewer || !options.viewer[0]) {
        throw std::runtime_error("no viewer given after --");
    }
    return options;
}

// Polls until the first frame is on screen; a viewer that dies or takes 10 s fails the run.
Window awaitFirstFrame(bench::XDisplay& x, bench::Child& child, const Options& options)
{
    const auto giveUp = Clock::now() + std::chrono::seconds(10);
    for (;;) {
        if (auto window = x.windowShowing(options.least, 345, 405)) {
            return *window;
        }
        int status = 0;
        if (child.waitForEnd(std::chrono::milliseconds(0), status)) {
            throw std::runtime_error("the viewer ended before showing its first frame");
        }
        if (Clock::now() > giveUp) {
            throw std::runtime_error("no first frame within 10 s");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
}

int start(bench::XDisplay& x, const Options& options)
{
    const auto begin = Clock::now();
    bench::Child child(options.viewer);
    awaitFirstFrame(x, child, options);
    std::printf("first_pixels_ms %.2f\n", Millis(Clock::now() - begin).count());
    return 0;
}

int quit(bench::XDisplay& x, const Options& options)
{
    bench::Child child(options.viewer);
    const Window window = awaitFirstFrame(x, child, options);
    x.focus(window);
    // Well into the start-up pace's first wait, with the focus change long delivered.
    std::this_thread::sleep_for(std::chrono::milliseconds(options.settleMs));
    x.pressEscape();
    const auto sent = Clock::now();
    int status = 0;
    const bool ended = child.waitForEnd(std::chrono::milliseconds(3000), status);
    const double took = Millis(Clock::now() - sent).count();
    x.releaseEscape();
    if (!ended) {
        std::printf("quit_ms none exit_status none\n");
        return 1;
    }
    std::printf("quit_ms %.2f exit_status %d\n", took, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
}

int play(bench::XDisplay& x, const Options& options)
{
    x.parkPointer();
    bench::Child child(options.viewer);
    const Window window = awaitFirstFrame(x, child, options);
    const auto shown = Clock::now();
    if (options.pointer) {
        x.movePointer(window, options.pointer->first, options.pointer->second);
    }
    std::this_thread::sleep_until(shown + std::chrono::milliseconds(options.settleMs));
    if (options.stop) {
        x.focus(window);
        x.typeSlash();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }

    const auto serverCpu = [&] {
        double sum = 0;
        for (const pid_t server : options.servers) sum += bench::processorSeconds(server);
        return sum;
    };
    const auto serverRun = [&] {
        double sum = 0;
        for (const pid_t server : options.servers) sum += bench::runSeconds(server);
        return sum;
    };
    const double programBefore = bench::processorSeconds(child.pid());
    const double programRunBefore = bench::runSeconds(child.pid());
    const double serverRunBefore = serverRun();
    const double serverBefore = serverCpu();
    const auto begin = Clock::now();
    const auto end = begin + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(options.seconds));
    const auto memoryAt = shown + std::chrono::seconds(5);
    long peakAt5s = -1;
    long frames = 0;
    std::uint64_t last = options.sample ? x.pixelHash(window) : 0;
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        if (peakAt5s < 0 && now >= memoryAt) {
            peakAt5s = bench::peakResidentKiB(child.pid());
        }
        if (options.sample) {
            const std::uint64_t hash = x.pixelHash(window);
            frames += hash != last;
            last = hash;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        } else {
            std::this_thread::sleep_until(peakAt5s < 0 && memoryAt < end ? memoryAt : end);
        }
    }
    const double wall = std::chrono::duration<double>(Clock::now() - begin).count();
    const double program = bench::processorSeconds(child.pid()) - programBefore;
    const double server = serverCpu() - serverBefore;
    const double programRun = bench::runSeconds(child.pid()) - programRunBefore;
    const double serverRunTime = serverRun() - serverRunBefore;
    if (peakAt5s < 0) {
        peakAt5s = bench::peakResidentKiB(child.pid());
    }
    std::printf("wall_s %.3f program_cpu_s %.3f server_cpu_s %.3f program_run_s %.6f server_run_s %.6f "
                "peak_rss_kib %ld frames_seen %ld\n",
                wall, program, server, programRun, serverRunTime, peakAt5s, frames);
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    try {
        const Options options = parse(argc, argv);
        bench::XDisplay x;
        if (options.mode == "start") return start(x, options);
        if (options.mode == "quit") return quit(x, options);
        if (options.mode == "play") return play(x, options);
        throw std::runtime_error("unknown mode " + options.mode);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qex-xprobe: %s\n", error.what());
        return 2;
    }
}
