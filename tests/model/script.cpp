#include "tests/model/script.h"

#include <algorithm>
#include <array>
#include <limits>
#include <sstream>

namespace qex::model {
namespace {

constexpr float pictureWidth = 14.9f;
constexpr float pictureHeight = 15.8f;
// Far enough out to be absurd, near enough that |x * 70 * y| stays finite in a float.
constexpr float farOut = 1e6f;

// How one seed mixes its calls; seeds differ so that rare and busy mixes both get played.
struct Mix {
    std::uint64_t emptyPumpPercent;
    std::uint64_t clickPercent;
    std::uint64_t movePercent;
};

Mix DrawMix(Draw& draw)
{
    constexpr std::array<std::uint64_t, 3> clicks{1, 6, 18};
    constexpr std::array<std::uint64_t, 3> moves{15, 35, 60};
    return Mix{20 + draw.Below(51), clicks[draw.Below(clicks.size())], moves[draw.Below(moves.size())]};
}

float Sign(Draw& draw)
{
    return draw.Below(2) == 0 ? 1.0f : -1.0f;
}

float Coordinate(Draw& draw, float extent)
{
    switch (draw.Below(10)) {
    case 0: {
        constexpr std::array<float, 5> edges{0.0f, -0.0f, 14.8828125f, pictureWidth, pictureHeight};
        return edges[draw.Below(edges.size())];
    }
    case 1:
        return -draw.Unit() * 20.0f;
    case 2:
        return Sign(draw) * (1000.0f + draw.Unit() * (farOut - 1000.0f));
    case 3: {
        const std::array<float, 3> tiny{std::numeric_limits<float>::denorm_min(),
                                        std::numeric_limits<float>::min(), draw.Unit() * 1e-20f};
        return Sign(draw) * tiny[draw.Below(tiny.size())];
    }
    case 4:
        return extent + draw.Unit() * 5.0f;
    default:
        return draw.Unit() * extent;
    }
}

std::int16_t KeyCode(Draw& draw)
{
    constexpr std::array<std::int16_t, 7> commands{'-', '+', ',', '/', '*', '.', ' '};
    if (draw.Below(2) == 0) {
        return commands[draw.Below(commands.size())];
    }
    // Any of the 255 single-byte codes but Escape, which would end the run.
    const auto code = static_cast<std::int16_t>(draw.Below(255));
    return code >= 27 ? static_cast<std::int16_t>(code + 1) : code;
}

class CallMaker {
public:
    CallMaker(Draw& draw, Mix mix) : draw_(draw), mix_(mix) {}

    Call Make(int pump)
    {
        Call call;
        call.pump = pump;
        const std::uint64_t roll = draw_.Below(100);
        if (roll < mix_.clickPercent) {
            call.kind = Call::Kind::click;
        } else if (roll < mix_.clickPercent + mix_.movePercent) {
            call.kind = Call::Kind::move;
            call.button = static_cast<std::int16_t>(draw_.Bits() & 0xffffu);
            call.shift = static_cast<std::int16_t>(draw_.Bits() & 0xffffu);
            call.x = Coordinate(draw_, pictureWidth);
            // A repeated y is the only way to reach the "not lower than before" edge when scrubbing.
            call.y = draw_.Percent(25) ? lastY_ : Coordinate(draw_, pictureHeight);
            lastY_ = call.y;
        } else {
            call.kind = Call::Kind::key;
            call.code = KeyCode(draw_);
        }
        return call;
    }

private:
    Draw& draw_;
    Mix mix_;
    float lastY_ = 0;
};

std::uint64_t CallsInPump(Draw& draw, const Mix& mix)
{
    if (draw.Percent(mix.emptyPumpPercent)) {
        return 0;
    }
    return draw.Percent(60) ? 1 : 2 + draw.Below(5);
}

}  // namespace

Script Generate(std::uint64_t seed, std::size_t callCount)
{
    Script script;
    script.seed = seed;
    Draw draw(seed);
    const Mix mix = DrawMix(draw);
    CallMaker maker(draw, mix);
    script.calls.reserve(callCount);
    int pump = 0;
    while (script.calls.size() < callCount) {
        ++pump;
        const std::uint64_t wanted = CallsInPump(draw, mix);
        for (std::uint64_t i = 0; i < wanted && script.calls.size() < callCount; ++i) {
            script.calls.push_back(maker.Make(pump));
        }
    }
    script.pumps = std::max(pump, loadingPumps) + tailPumps;
    return script;
}

Script GenerateEnding(std::uint64_t seed, std::size_t maxCalls)
{
    Draw draw(~seed);
    Script script = Generate(seed, draw.Below(maxCalls + 1));
    Call last;
    const int lastPump = script.calls.empty() ? 1 : script.calls.back().pump;
    last.pump = lastPump + static_cast<int>(draw.Below(3));
    if (draw.Below(2) == 0) {
        last.kind = Call::Kind::key;
        last.code = 27;
    } else {
        last.kind = Call::Kind::doubleClick;
    }
    script.calls.push_back(last);
    script.pumps = std::numeric_limits<int>::max();
    return script;
}

Script Prefix(const Script& script, std::size_t count)
{
    Script prefix;
    prefix.seed = script.seed;
    count = std::min(count, script.calls.size());
    prefix.calls.assign(script.calls.begin(), script.calls.begin() + static_cast<std::ptrdiff_t>(count));
    const int lastPump = prefix.calls.empty() ? loadingPumps : std::max(prefix.calls.back().pump, loadingPumps);
    prefix.pumps = count == script.calls.size() ? script.pumps : std::min(script.pumps, lastPump + tailPumps);
    return prefix;
}

std::string Describe(const Call& call)
{
    std::ostringstream out;
    out.precision(9);
    out << "pump " << call.pump;
    if (call.pump > loadingPumps) {
        out << " (after pass " << call.pump - loadingPumps << ")";
    } else {
        out << " (loading)";
    }
    switch (call.kind) {
    case Call::Kind::key:
        out << ": key " << call.code;
        break;
    case Call::Kind::move:
        out << ": move x=" << call.x << " y=" << call.y << " button=" << call.button << " shift=" << call.shift;
        break;
    case Call::Kind::click:
        out << ": click";
        break;
    case Call::Kind::doubleClick:
        out << ": double-click";
        break;
    }
    return out.str();
}

}  // namespace qex::model
