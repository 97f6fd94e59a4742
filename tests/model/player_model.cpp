#include "tests/model/player_model.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace qex::model {
namespace {

// Positions form a ring, so the remainder must land in 0..17 whatever the dividend's sign.
int Ring(int value)
{
    const int r = value % modelFramesPerLift;
    return r < 0 ? r + modelFramesPerLift : r;
}

void CommandStage(ModelState& s)
{
    // Each test sees n as the previous one left it: a run command turns n into 1 and so
    // shuts out the later tests in the same pass.
    if (s.n == -1) {
        s.l = Ring(s.l + 17);
        s.mm = 0;
        s.m = 1;
        s.n = 1;
    }
    if (s.n == 3) {
        s.l = Ring(s.l + 1);
        s.m = 0;
        s.mm = 1;
        s.n = 1;
    }
    if (s.n == -2) {
        s.l = Ring(s.l + 17 + s.m + s.mm);
        s.mm = 0;
        s.m = 0;
        s.n = 0;
    }
    if (s.n == 2) {
        s.l = Ring(s.l + 1 - s.m - s.mm);
        s.mm = 0;
        s.m = 0;
        s.n = 0;
    }
}

void RunStage(ModelState& s)
{
    if (s.n != 0 && s.m == 0) {
        s.l = Ring(s.l + s.n);
    }
    // A backward run steps back whether or not n still says running.
    if (s.m == 1) {
        s.l = Ring(s.l + 17);
    }
}

}  // namespace

std::string Describe(const ModelState& s)
{
    std::ostringstream out;
    out.precision(9);
    out << "k=" << s.k << " l=" << s.l << " m=" << s.m << " mm=" << s.mm << " n=" << s.n
        << " hl=" << s.hl << " updo=" << s.updo << " nm=" << s.nm << " n1=" << s.n1
        << " mm1=" << s.mm1 << " m1=" << s.m1 << " yyy=" << s.yyy;
    return out.str();
}

void StartUp(ModelState& s)
{
    s.n = 1;
    s.k = 1000000;
    s.hl = 0;
    s.updo = 1;
}

std::chrono::microseconds WaitFor(float k)
{
    if (!(k >= 0)) {
        return std::chrono::microseconds{0};
    }
    // Moves within +-1e6 give counts below 1e14, where floor, +1 and *2 are exact in a double
    // and the product fits the tick type; beyond that the model makes no claim.
    const double counts = std::floor(static_cast<double>(k)) + 1.0;
    if (counts > 1e15) {
        throw std::logic_error("count outside the modelled range");
    }
    return std::chrono::microseconds{static_cast<long long>(counts) * 2};
}

PassResult Pass(ModelState& s)
{
    CommandStage(s);
    RunStage(s);
    PassResult result;
    const int slot = s.l + modelFramesPerLift * s.hl;
    if (slot < 0 || slot >= modelSlots) {
        return result;
    }
    result.slot = slot;
    result.wait = WaitFor(s.k);
    return result;
}

Outcome Key(ModelState& s, int code)
{
    switch (code) {
    case 27:
        return Outcome::endProgram;
    case '-':
        s.n = -1;
        break;
    case '+':
    case ',':
        s.n = 3;
        break;
    case '/':
        s.n = -2;
        break;
    case '*':
    case '.':
        s.n = 2;
        break;
    case ' ':
        // The lift bounces between the ends: the direction flips on reaching either one.
        s.hl += s.updo;
        if (s.hl > 1) {
            s.updo = -1;
        }
        if (s.hl < 1) {
            s.updo = 1;
        }
        break;
    default:
        break;
    }
    return Outcome::carryOn;
}

Outcome Move(ModelState& s, float x, float y)
{
    if (s.nm == 0) {
        const float k = static_cast<float>(static_cast<double>(x) * 70.0 * static_cast<double>(y));
        if (!std::isfinite(k)) {
            return Outcome::raiseError;
        }
        s.k = k;
        return Outcome::carryOn;
    }
    s.k = 80000;
    s.n = y >= s.yyy ? 2 : -2;
    s.yyy = y;
    return Outcome::carryOn;
}

void Click(ModelState& s)
{
    if (s.nm == 0) {
        s.n1 = s.n;
        s.mm1 = s.mm;
        s.m1 = s.m;
    }
    s.nm = (s.nm + 1) % 2;
    if (s.nm == 0) {
        s.n = s.n1;
        s.mm = s.mm1;
        s.m = s.m1;
    }
}

Outcome DoubleClick()
{
    return Outcome::endProgram;
}

}  // namespace qex::model
