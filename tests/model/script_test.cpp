#include "tests/model/script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>

// The lockstep check is only as good as the calls it plays; these pin down what they cover.
namespace qex::model {
namespace {

// The float's bits; memcpy because not every standard library of ours has std::bit_cast.
std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

std::uint64_t Fingerprint(const Script& script)
{
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t value) {
        hash = (hash ^ value) * 1099511628211ull;
    };
    for (const Call& call : script.calls) {
        mix(static_cast<std::uint64_t>(call.kind));
        mix(static_cast<std::uint64_t>(call.pump));
        mix(static_cast<std::uint16_t>(call.code));
        mix(static_cast<std::uint16_t>(call.button));
        mix(static_cast<std::uint16_t>(call.shift));
        mix(Bits(call.x));
        mix(Bits(call.y));
    }
    mix(static_cast<std::uint64_t>(script.pumps));
    return hash;
}

TEST(Script, IsTheSameOnEveryBuild)
{
    EXPECT_EQ(Fingerprint(Generate(1, 2000)), 8968321572221969439u);
    EXPECT_EQ(Fingerprint(GenerateEnding(7, 300)), 14797144641651216083u);
}

TEST(Script, CoversEveryKeyButEscapeAndEveryKindOfPointerPosition)
{
    std::set<int> codes;
    int moves = 0, repeatedY = 0, onZero = 0, negative = 0, farOutside = 0, tiny = 0, pastEdge = 0;
    int loadingCalls = 0, busyPumps = 0, emptyPumps = 0;
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const Script script = Generate(seed, 5000);
        float lastY = 0;
        int pump = 0, inPump = 0;
        for (const Call& call : script.calls) {
            ASSERT_NE(call.kind, Call::Kind::doubleClick);
            if (call.pump != pump) {
                emptyPumps += call.pump - pump - 1;
                busyPumps += inPump > 1 ? 1 : 0;
                pump = call.pump;
                inPump = 0;
            }
            ++inPump;
            loadingCalls += call.pump <= loadingPumps ? 1 : 0;
            if (call.kind == Call::Kind::key) {
                codes.insert(call.code);
            }
            if (call.kind != Call::Kind::move) {
                continue;
            }
            ++moves;
            for (const float v : {call.x, call.y}) {
                ASSERT_TRUE(std::isfinite(v) && std::fabs(v) <= 1e6f);
                onZero += v == 0 ? 1 : 0;
                negative += v < 0 ? 1 : 0;
                farOutside += std::fabs(v) >= 1000 ? 1 : 0;
                tiny += v != 0 && std::fabs(v) < 1e-20f ? 1 : 0;
                pastEdge += v > 15.8f && v < 21 ? 1 : 0;
            }
            repeatedY += call.y == lastY ? 1 : 0;
            lastY = call.y;
        }
    }
    EXPECT_EQ(codes.size(), 255u);
    EXPECT_EQ(codes.count(27), 0u);
    EXPECT_EQ(*codes.begin(), 0);
    EXPECT_EQ(*codes.rbegin(), 255);
    for (const int count : {onZero, negative, farOutside, tiny, pastEdge, loadingCalls, busyPumps, emptyPumps}) {
        EXPECT_GT(count, 100);
    }
    EXPECT_GT(repeatedY, moves / 5);
}

TEST(Script, PrefixesKeepTheFirstCallsAndAFewPassesAfterThem)
{
    const Script script = Generate(3, 400);
    const Script prefix = Prefix(script, 100);
    ASSERT_EQ(prefix.calls.size(), 100u);
    EXPECT_EQ(Fingerprint(Prefix(script, 400)), Fingerprint(script));
    EXPECT_EQ(prefix.calls.back().pump, script.calls[99].pump);
    EXPECT_EQ(prefix.pumps, std::max(script.calls[99].pump, loadingPumps) + tailPumps);
    EXPECT_EQ(Prefix(script, 0).pumps, loadingPumps + tailPumps);
}

TEST(Script, EndingScriptsEndWithEscapeOrDoubleClickOnly)
{
    for (std::uint64_t seed = 1; seed <= 50; ++seed) {
        const Script script = GenerateEnding(seed, 300);
        const Call& last = script.calls.back();
        EXPECT_TRUE(last.kind == Call::Kind::doubleClick || (last.kind == Call::Kind::key && last.code == 27));
        for (std::size_t i = 0; i + 1 < script.calls.size(); ++i) {
            EXPECT_FALSE(script.calls[i].kind == Call::Kind::key && script.calls[i].code == 27);
        }
    }
}

}  // namespace
}  // namespace qex::model
