#include "tests/model/player_model.h"

#include <gtest/gtest.h>

#include <vector>

// Hand-worked cases: the model is itself code, and the lockstep check only means something
// if the model plays the rules out as a person would on paper.
namespace qex::model {
namespace {

std::vector<int> Shown(ModelState& s, int passes)
{
    std::vector<int> slots;
    for (int i = 0; i < passes; ++i) {
        slots.push_back(Pass(s).slot.value_or(-1));
    }
    return slots;
}

ModelState Started()
{
    ModelState s;
    StartUp(s);
    return s;
}

TEST(Model, StartUpRunsForwardFromOneAtTheSlowestCount)
{
    ModelState s = Started();
    EXPECT_EQ(s.k, 1000000.0f);
    EXPECT_EQ(Pass(s).wait.count(), 2000002);
    EXPECT_EQ(Shown(s, 3), (std::vector<int>{2, 3, 4}));
}

TEST(Model, BackwardRunStepsBackOneFramePerPassAndWraps)
{
    ModelState s = Started();
    EXPECT_EQ(Shown(s, 2), (std::vector<int>{1, 2}));
    Key(s, '-');
    EXPECT_EQ(Shown(s, 4), (std::vector<int>{0, 17, 16, 15}));
    EXPECT_EQ(s.m, 1);
}

TEST(Model, StepForwardDuringAForwardRunStopsOnTheFrameShownLast)
{
    ModelState s = Started();
    EXPECT_EQ(Shown(s, 1), (std::vector<int>{1}));
    Key(s, '+');
    EXPECT_EQ(Shown(s, 3), (std::vector<int>{3, 4, 5}));
    Key(s, '.');
    EXPECT_EQ(Shown(s, 2), (std::vector<int>{5, 5}));
    Key(s, '/');
    EXPECT_EQ(Shown(s, 1), (std::vector<int>{4}));
}

TEST(Model, SpaceBouncesTheLiftBetweenItsEnds)
{
    ModelState s = Started();
    std::vector<int> lifts;
    for (int i = 0; i < 6; ++i) {
        Key(s, ' ');
        lifts.push_back(s.hl);
    }
    EXPECT_EQ(lifts, (std::vector<int>{1, 2, 1, 0, 1, 2}));
    EXPECT_EQ(Pass(s).slot, 1 + 36);
}

TEST(Model, PointerSetsTheCountAndOnlyEscapeAndDoubleClickEnd)
{
    ModelState s = Started();
    EXPECT_EQ(Move(s, 2.0f, 3.0f), Outcome::carryOn);
    EXPECT_EQ(s.k, 420.0f);
    EXPECT_EQ(Pass(s).wait.count(), 842);
    Move(s, -1.0f, 0.5f);
    EXPECT_EQ(Pass(s).wait.count(), 0);
    EXPECT_EQ(Move(s, 3e19f, 3e19f), Outcome::raiseError);
    EXPECT_EQ(Key(s, 27), Outcome::endProgram);
    EXPECT_EQ(DoubleClick(), Outcome::endProgram);
    EXPECT_EQ(Key(s, 'a'), Outcome::carryOn);
}

TEST(Model, WaitIsTwoMicrosecondsPerWholeCountPlusOne)
{
    EXPECT_EQ(WaitFor(0.0f).count(), 2);
    EXPECT_EQ(WaitFor(-0.0f).count(), 2);
    EXPECT_EQ(WaitFor(0.99f).count(), 2);
    EXPECT_EQ(WaitFor(7.5f).count(), 16);
    EXPECT_EQ(WaitFor(-0.01f).count(), 0);
    EXPECT_EQ(WaitFor(80000.0f).count(), 160002);
}

TEST(Model, ScrubbingStepsWithTheVerticalDirectionAndClickRestoresTheRun)
{
    ModelState s = Started();
    Key(s, '-');
    Click(s);
    EXPECT_EQ(s.nm, 1);
    Move(s, 1.0f, 5.0f);
    EXPECT_EQ(s.n, 2);
    EXPECT_EQ(s.k, 80000.0f);
    Move(s, 9.0f, 5.0f);
    EXPECT_EQ(s.n, 2);
    Move(s, 9.0f, 4.0f);
    EXPECT_EQ(s.n, -2);
    EXPECT_EQ(s.yyy, 4.0f);
    Click(s);
    EXPECT_EQ(s.nm, 0);
    EXPECT_EQ(s.n, -1);
    EXPECT_EQ(Shown(s, 2), (std::vector<int>{16, 15}));
}

}  // namespace
}  // namespace qex::model
