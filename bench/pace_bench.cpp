// Measures how closely the real platform layer (steady clock, X event loop, a shown window)
// keeps the play loop's pace, and prints one markdown table row per measured case.
//
//   qex-pace-bench [--smoke]
#include "bench/bench_samples.h"
#include "engine/pacing.h"
#include "engine/play_loop.h"
#include "engine/player_state.h"
#include "platforms/x11/connection.h"
#include "platforms/x11/frame_set.h"
#include "platforms/x11/picture1.h"
#include "platforms/x11/refresh_rate.h"
#include "platforms/x11/x11_platform.h"

#include <sys/prctl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

struct Case {
    float k;
    int passes;
};

struct Spread {
    double median;
    double p99;
};

// Nearest-rank percentile: with few samples the 99th is simply the slowest one.
Spread spreadOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto rank = [&](double q) {
        const auto at = static_cast<std::size_t>(std::ceil(q * static_cast<double>(samples.size())));
        return samples[std::clamp<std::size_t>(at, 1, samples.size()) - 1];
    };
    const std::size_t n = samples.size();
    const double median = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    return {median, rank(0.99)};
}

// Times `passes` consecutive calls of `pass`, each from its start to the next one's start.
template <typename Pass>
std::vector<double> timePasses(int passes, Pass pass)
{
    std::vector<double> took;
    took.reserve(static_cast<std::size_t>(passes));
    auto start = Clock::now();
    for (int i = 0; i < passes; ++i) {
        pass();
        const auto end = Clock::now();
        took.push_back(Micros(end - start).count());
        start = end;
    }
    return took;
}

// The surface's redraws; input is not the bench's business.
class Redraws final : public qex::XEventHandler {
public:
    qex::Picture1* surface = nullptr;
    xcb_window_t window = 0;
    bool mapped = false;

    void handle(const xcb_generic_event_t& event) override
    {
        const int type = event.response_type & 0x7F;
        if (type == XCB_EXPOSE && surface) {
            surface->expose(reinterpret_cast<const xcb_expose_event_t&>(event));
        } else if (type == XCB_MAP_NOTIFY && reinterpret_cast<const xcb_map_notify_event_t&>(event).window == window) {
            mapped = true;
        }
    }
};

xcb_window_t openWindow(const qex::x11::Connection& connection)
{
    xcb_connection_t* c = connection.get();
    const xcb_screen_t& screen = connection.screen();
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {screen.white_pixel, XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen.root, 0, 0, 349, 407, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen.root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
    xcb_map_window(c, window);
    return window;
}

void fillFrames(qex::PlayerState& state, qex::X11Platform& platform)
{
    for (int holder = 1; holder <= qex::frames::frameCount; ++holder) {
        state.pics[static_cast<std::size_t>(qex::frames::slotOfHolder(holder))] = platform.PictureOf(holder);
    }
    state.n = qex::command::running;
    state.hl = 0;
    state.updo = 1;
}

const char* verdict(double intendedUs, double medianErrUs, double p99ErrUs, double refreshUs)
{
    if (intendedUs < 1000) {
        return "n/a (< 1 ms)";
    }
    // A pass held to one refresh is judged against that refresh, within 1 ms either way.
    if (std::abs(intendedUs - refreshUs) < 1) {
        return (std::abs(medianErrUs) <= 1000 && std::abs(p99ErrUs) <= 1000) ? "met" : "MISSED";
    }
    return (std::abs(medianErrUs) <= 200 && std::abs(p99ErrUs) <= 1000) ? "met" : "MISSED";
}

void printRow(const char* what, const Case& c, double intendedUs, const Spread& s, double refreshUs)
{
    const double medianErr = s.median - intendedUs;
    const double p99Err = s.p99 - intendedUs;
    std::printf("| %s | %.0f | %d | %.3f | %.3f | %+.3f | %.3f | %+.3f | %s |\n", what,
                static_cast<double>(c.k), c.passes, intendedUs / 1000, s.median / 1000,
                medianErr / 1000, s.p99 / 1000, p99Err / 1000,
                verdict(intendedUs, medianErr, p99Err, refreshUs));
}

}  // namespace

int main(int argc, char* argv[])
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    const qex::x11::Connection connection;
    const qex::frames::FrameSet frames;
    bench::NoEvents ignore;
    Redraws redraws;
    redraws.window = openWindow(connection);
    qex::x11::RefreshRate refresh(connection);
    qex::Picture1 surface(connection, redraws.window, 1, ignore);
    redraws.surface = &surface;
    qex::X11Platform platform(connection, redraws, surface, frames, refresh);
    // Timing starts only once the window is really on screen, as in the program.
    while (!redraws.mapped) {
        platform.awaitEvents();
    }
    // As the program: exact timer wake-ups, and the monitor's rate asked once the window is up
    // (its answers take two round trips).
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    refresh.ask();
    for (int trip = 0; trip < 3; ++trip) {
        std::free(xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()), nullptr));
        refresh.interval();
    }

    qex::PlayerState state;
    fillFrames(state, platform);

    const double refreshUs = std::chrono::duration<double, std::micro>(refresh.interval()).count();
    std::printf("display refresh interval from RandR: %.3f ms\n\n", refreshUs / 1000);
    std::printf("| loop | k | passes | intended ms | median ms | median error ms | p99 ms | p99 error ms | target |\n");
    std::printf("| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | --- |\n");

    const std::vector<Case> cases = smoke
        ? std::vector<Case>{{0, 30}, {4100, 20}, {80000, 3}}
        : std::vector<Case>{{0, 600}, {4100, 400}, {16392, 200}, {80000, 40}, {1000000, 4}};

    for (const Case& c : cases) {
        state.k = c.k;
        const double waitUs = static_cast<double>(qex::passWait(c.k).count());
        // A warm-up pass so the first measured pass does not carry a previous case's leftovers.
        qex::Delay(state, platform);
        printRow("Delay", c, waitUs, spreadOf(timePasses(c.passes, [&] { qex::Delay(state, platform); })),
                 refreshUs);
        qex::PlayPass(state, platform);
        // Frames change every pass, so no pass can be shorter than one refresh.
        const double passUs = std::max(waitUs, refreshUs);
        printRow("PlayPass", c, passUs,
                 spreadOf(timePasses(c.passes, [&] { qex::PlayPass(state, platform); })), refreshUs);
        std::fflush(stdout);
    }
    return 0;
}
