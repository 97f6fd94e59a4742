#include "tests/model/replay.h"
#include "tests/model/script.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qex::model {
namespace {

// 200 fresh programs of 5000 calls each: many start-ups with their loading pumps, and long
// enough runs for every mix of modes, lifts and runs to come up.
constexpr std::uint64_t firstSeed = 1;
constexpr std::uint64_t seedCount = 200;
constexpr std::size_t callsPerSeed = 5000;

TEST(Lockstep, RandomCallsAgreeWithTheModelAfterEveryPass)
{
    std::size_t calls = 0;
    long long passes = 0;
    for (std::uint64_t seed = firstSeed; seed < firstSeed + seedCount; ++seed) {
        const Script script = Generate(seed, callsPerSeed);
        const RunReport report = Replay(script);
        if (report.divergence) {
            FAIL() << FailureReport(script, Shrink(script));
        }
        ASSERT_EQ(report.callsDelivered, script.calls.size()) << "seed " << seed;
        ASSERT_FALSE(report.endedByCall) << "seed " << seed;
        ASSERT_EQ(report.passes, script.pumps + 1 - loadingPumps) << "seed " << seed;
        calls += report.callsDelivered;
        passes += report.passes;
    }
    EXPECT_GE(calls, 1'000'000u);
    RecordProperty("handler_calls", static_cast<int>(calls));
    RecordProperty("passes", static_cast<int>(passes));
}

TEST(Lockstep, EscapeOrDoubleClickEndsTheProgramWithNoFurtherPass)
{
    constexpr std::uint64_t endingSeeds = 600;
    int duringLoading = 0;
    for (std::uint64_t seed = 1'000'001; seed < 1'000'001 + endingSeeds; ++seed) {
        const Script script = GenerateEnding(seed, 300);
        const RunReport report = Replay(script);
        if (report.divergence) {
            FAIL() << FailureReport(script, Shrink(script));
        }
        ASSERT_TRUE(report.endedByCall) << "seed " << seed;
        ASSERT_EQ(report.callsDelivered, script.calls.size()) << "seed " << seed;
        // The passes run are exactly those whose pumps came before the ending call's.
        const int endPump = script.calls.back().pump;
        ASSERT_EQ(report.passes, endPump > loadingPumps ? endPump - loadingPumps : 0) << "seed " << seed;
        duringLoading += endPump <= loadingPumps ? 1 : 0;
    }
    EXPECT_GT(duringLoading, 20);
    EXPECT_LT(duringLoading, static_cast<int>(endingSeeds) - 20);
}

}  // namespace
}  // namespace qex::model
