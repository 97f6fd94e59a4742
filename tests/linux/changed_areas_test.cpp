#include "frames/numbering.h"
#include "platforms/linux/changed_areas.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace qex {
namespace {

using Frame = std::span<const std::uint8_t, frames::packedFrameBytes>;

// Checks the areas against what X asks of a YX-banded clip list and against the pixels that
// differ; gives the share of the picture they cover.
double checkAreas(Frame from, Frame to, const std::vector<FrameArea>& areas)
{
    constexpr int width = frames::packedWidth;
    std::vector<int> covered(static_cast<std::size_t>(width * frames::packedHeight), 0);
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const FrameArea& a = areas[i];
        const bool inside = a.x >= 0 && a.y >= 0 && a.width > 0 && a.height > 0 && a.x + a.width <= width &&
                            a.y + a.height <= frames::packedHeight;
        EXPECT_TRUE(inside) << "area " << i << " leaves the picture";
        const FrameArea& b = areas[i > 0 ? i - 1 : 0];
        const bool sameBand = a.y == b.y && a.height == b.height && a.x >= b.x + b.width;
        EXPECT_TRUE(i == 0 || sameBand || a.y >= b.y + b.height) << "area " << i << " breaks the banded order";
        for (int y = a.y; inside && y < a.y + a.height; ++y) {
            for (int x = a.x; x < a.x + a.width; ++x) ++covered[static_cast<std::size_t>(y * width + x)];
        }
    }
    int area = 0;
    for (std::size_t at = 0; at < covered.size(); ++at) {
        const std::size_t byte = at / width * frames::packedRowBytes + at % width / 8;
        const bool changed = (from[byte] ^ to[byte]) >> (at % width % 8) & 1;
        EXPECT_TRUE(covered[at] == 1 || (covered[at] == 0 && !changed))
            << "pixel " << at % width << ", " << at / width << " covered " << covered[at] << " times";
        area += covered[at];
    }
    return static_cast<double>(area) / static_cast<double>(covered.size());
}

TEST(ChangedAreas, CoverTheChangesOfEveryStepOfThePlayTightly)
{
    std::vector<FrameArea> areas;
    double total = 0;
    for (int slot = 0; slot < frames::frameCount; ++slot) {
        const int lift = slot / frames::framesPerLift;
        const int next = frames::slotOf(lift, (slot % frames::framesPerLift + 1) % frames::framesPerLift);
        const Frame from = frames::packedFrame(slot + 1);
        const Frame to = frames::packedFrame(next + 1);
        changedAreas(from, to, areas);
        const double share = checkAreas(from, to, areas);
        EXPECT_LT(share, 0.25) << "holders " << slot + 1 << " to " << next + 1;
        total += share;
        const auto bounds = changedBounds(from, to);
        ASSERT_TRUE(bounds.has_value());
        const FrameArea box = boundsOf(areas);
        EXPECT_TRUE(bounds->x == box.x && bounds->y == box.y && bounds->width == box.width &&
                    bounds->height == box.height)
            << "holders " << slot + 1 << " to " << next + 1;
        changedAreas(to, to, areas);
        EXPECT_TRUE(areas.empty());
        EXPECT_FALSE(changedBounds(to, to).has_value());
    }
    EXPECT_LT(total / frames::frameCount, 0.1);
}

TEST(ChangedAreas, HoldTheMostScatteredChanges)
{
    const std::array<std::uint8_t, frames::packedFrameBytes> blank{};
    std::array<std::uint8_t, frames::packedFrameBytes> scattered{};
    // Every other row as split as a row can be; the rows between changed a byte apart, unsplit.
    for (std::size_t i = 0; i < scattered.size(); ++i) {
        const std::size_t column = i % frames::packedRowBytes;
        scattered[i] = (i / frames::packedRowBytes % 2 ? column % 5 == 0 : column % 2 == 0) ? 0x01 : 0x00;
    }
    std::vector<FrameArea> areas;
    changedAreas(blank, scattered, areas);
    checkAreas(blank, scattered, areas);
}

}  // namespace
}  // namespace qex
