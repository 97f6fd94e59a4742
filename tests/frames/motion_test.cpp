#include "bitmap_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int bottomRow = BitmapFile::height - 1;
constexpr int middle = BitmapFile::width / 2;

enum Side { left, right };

// Mean column of the black pixels in the bottom row on one half of the
// picture: where that side's stem leaves the frame. NaN when there are none.
double footX(const BitmapFile& f, Side side)
{
    const int from = side == left ? 0 : middle + 1;
    const int to = side == left ? middle : BitmapFile::width;
    double sum = 0.0;
    int count = 0;
    for (int x = from; x < to; ++x) {
        if (f.isBlack(x, bottomRow)) {
            sum += x;
            ++count;
        }
    }
    return count ? sum / count : std::numeric_limits<double>::quiet_NaN();
}

std::array<double, BitmapFile::positionsPerLift> feet(int lift, Side side)
{
    std::array<double, BitmapFile::positionsPerLift> x{};
    for (int p = 0; p < BitmapFile::positionsPerLift; ++p)
        x[p] = footX(BitmapFile::frame(lift, p), side);
    return x;
}

double travel(int lift, Side side)
{
    const auto x = feet(lift, side);
    const auto [low, high] = std::minmax_element(x.begin(), x.end());
    return *high - *low;
}

// Position where the stem is farthest from where it stands at position 0.
int widestPosition(int lift, Side side)
{
    const auto x = feet(lift, side);
    int widest = 0;
    for (int p = 1; p < BitmapFile::positionsPerLift; ++p)
        if (std::abs(x[p] - x[0]) > std::abs(x[widest] - x[0]))
            widest = p;
    return widest;
}

TEST(Stems, BothReachTheBottomRowInEveryFrame)
{
    for (int n = 1; n <= BitmapFile::frameCount; ++n) {
        const BitmapFile& f = BitmapFile::holder(n);
        EXPECT_FALSE(std::isnan(footX(f, left))) << f.name() << ": no left stem in the bottom row";
        EXPECT_FALSE(std::isnan(footX(f, right))) << f.name() << ": no right stem in the bottom row";
    }
}

TEST(Stems, SwingFurtherTheHigherTheLift)
{
    for (Side side : {left, right}) {
        SCOPED_TRACE(side == left ? "left stem" : "right stem");
        const double lift1 = travel(1, side);
        const double lift2 = travel(2, side);
        const double lift3 = travel(3, side);
        EXPECT_GT(lift1, lift2);
        EXPECT_GT(lift2, lift3);
        EXPECT_GT(lift3, 2.0) << "even the smallest lift must visibly move the stem";
    }
}

TEST(Stems, SwingOutwardsLeftFirstThenRight)
{
    for (int lift = 1; lift <= 3; ++lift) {
        SCOPED_TRACE("lift " + std::to_string(lift));
        const int leftPeak = widestPosition(lift, left);
        const int rightPeak = widestPosition(lift, right);
        EXPECT_LT(leftPeak, rightPeak);
        // Outwards: the left foot moves left of its rest, the right one right.
        EXPECT_LT(feet(lift, left)[leftPeak], feet(lift, left)[0]);
        EXPECT_GT(feet(lift, right)[rightPeak], feet(lift, right)[0]);
    }
}

TEST(Cycle, WrapsFromLastPositionToFirstWithoutAJump)
{
    for (int lift = 1; lift <= 3; ++lift) {
        SCOPED_TRACE("lift " + std::to_string(lift));
        int largestStep = 0;
        for (int p = 0; p + 1 < BitmapFile::positionsPerLift; ++p)
            largestStep = std::max(largestStep, BitmapFile::frame(lift, p).differingPixels(BitmapFile::frame(lift, p + 1)));
        const int wrap = BitmapFile::frame(lift, BitmapFile::positionsPerLift - 1).differingPixels(BitmapFile::frame(lift, 0));
        EXPECT_GT(wrap, 0);
        EXPECT_LE(wrap, largestStep);
    }
}

}  // namespace
