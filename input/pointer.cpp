#include "input/handlers.h"

#include <cmath>

namespace qex {
namespace {

// The pointer's speed count: x * 70 * y formed in double, rounded once to float.
// A product that would round to an infinite float is the platform's overflow error.
float speedCount(Lifetime& lifetime, float x, float y)
{
    constexpr double speedFactor = 70.0;
    constexpr double overflowsFloat = 0x1.ffffffp127;  // halfway past the largest float
    const double product = static_cast<double>(x) * speedFactor * static_cast<double>(y);
    if (std::isnan(product) || std::fabs(product) >= overflowsFloat) {
        lifetime.RaiseError("floating-point overflow in the pointer's speed count");
    }
    return static_cast<float>(product);
}

}  // namespace

void Picture1_MouseMove(PlayerState& state, Lifetime& lifetime, std::int16_t /*button*/,
                        std::int16_t /*shift*/, float x, float y)
{
    if (state.nm == 0) {
        state.k = speedCount(lifetime, x, y);
        return;
    }
    constexpr float scrubCount = 80000;
    state.k = scrubCount;
    // Equal y counts as down, so a sideways move steps forward.
    state.n = (y >= state.yyy) ? command::stepForward : command::stepBack;
    state.yyy = y;
}

void Picture1_Click(PlayerState& state)
{
    if (state.nm == 0) {
        state.n1 = state.n;
        state.mm1 = state.mm;
        state.m1 = state.m;
    }
    state.nm = (state.nm + 1) % 2;
    if (state.nm == 0) {
        state.n = state.n1;
        state.mm = state.mm1;
        state.m = state.m1;
    }
}

void Picture1_DblClick(Lifetime& lifetime)
{
    lifetime.EndProgram();
}

}  // namespace qex
