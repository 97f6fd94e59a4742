// Times the web platform's wait in the browser it runs in: waits back to back, as the loop
// makes them, each followed by a pump; prints one line per span:
//   pace <span ms> <median error ms> <p99 error ms> <waits>
#include "platforms/web/web_platform.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

class NoEvents final : public qex::SurfaceEvents {
public:
    void keyPress(std::int16_t&) override {}
    void mouseMove(std::int16_t, std::int16_t, float, float) override {}
    void click() override {}
    void dblClick() override {}
};

double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv)
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    const qex::frames::WebFrameSet frames;
    qex::EventQueue queue;
    NoEvents events;
    qex::Picture1 surface(events);
    qex::WebPlatform platform(frames, queue, surface);
    const int waits = smoke ? 5 : 40;
    for (const int spanMs : {1, 2, 5, 10, 20, 50, 100}) {
        const auto span = std::chrono::milliseconds(spanMs);
        std::vector<double> errors;
        platform.Wait(span);
        double last = emscripten_get_now();
        for (int i = 0; i < waits; ++i) {
            platform.Wait(span);
            const double now = emscripten_get_now();
            errors.push_back(std::fabs(now - last - spanMs));
            last = now;
            platform.PumpEvents();
        }
        std::printf("pace %d %.3f %.3f %d\n", spanMs, quantile(errors, 0.5), quantile(errors, 0.99), waits);
    }
    std::printf("done\n");
    return 0;
}
