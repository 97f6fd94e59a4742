#pragma once
// What the pace benches share: a surface whose events go nowhere, a plain quantile, and the
// timing of a platform's waits back to back.
#include "platforms/surface_events.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace bench {

class NoEvents final : public qex::SurfaceEvents {
public:
    void keyPress(std::int16_t&) override {}
    void mouseMove(std::int16_t, std::int16_t, float, float) override {}
    void click() override {}
    void dblClick() override {}
};

// The sample at rank q * (n - 1) of the sorted samples; values must not be empty.
inline double quantile(std::vector<double> values, double q)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1))];
}

// Times waits back to back, as the loop makes them, each followed by a pump; nowMs reads the
// platform's clock in milliseconds. Prints one line per span:
//   pace <span ms> <median error ms> <p99 error ms> <waits>
template <class Platform, class NowMs>
void printWaitPace(Platform& platform, NowMs nowMs, int waits)
{
    for (const int spanMs : {1, 2, 5, 10, 20, 50, 100}) {
        const auto span = std::chrono::milliseconds(spanMs);
        std::vector<double> errors;
        platform.Wait(span);
        double last = nowMs();
        for (int i = 0; i < waits; ++i) {
            platform.Wait(span);
            const double now = nowMs();
            errors.push_back(std::fabs(now - last - spanMs));
            last = now;
            platform.PumpEvents();
        }
        std::printf("pace %d %.3f %.3f %d\n", spanMs, quantile(errors, 0.5), quantile(errors, 0.99), waits);
        std::fflush(stdout);
    }
    std::printf("done\n");
}

}  // namespace bench
