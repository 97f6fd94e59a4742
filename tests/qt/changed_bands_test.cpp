#include "platforms/qt/frame_set.h"
#include "platforms/qt/changed_bands.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qex {
namespace {

constexpr int bandRows = 16;

QImage frameImage(int holder)
{
    static const frames::FrameSet frames;
    return std::dynamic_pointer_cast<const frames::FramePicture>(frames.PictureOf(holder))->image();
}

// Copying the bands of `to` over `from` must give `to`, pixel for pixel.
::testing::AssertionResult bandsCarryEveryChange(const QImage& from, const QImage& to)
{
    QImage patched = from.convertToFormat(QImage::Format_RGB32);
    const QImage target = to.convertToFormat(QImage::Format_RGB32);
    for (const QRect& band : changedBands(from, to, bandRows)) {
        if (!to.rect().contains(band) || band.top() % bandRows != 0) {
            return ::testing::AssertionFailure() << "band out of place: " << band.x() << "," << band.y() << " "
                                                 << band.width() << "x" << band.height();
        }
        for (int y = band.top(); y <= band.bottom(); ++y) {
            for (int x = band.left(); x <= band.right(); ++x) {
                patched.setPixel(x, y, target.pixel(x, y));
            }
        }
    }
    if (patched != target) {
        return ::testing::AssertionFailure() << "a changed pixel lies outside every band";
    }
    return ::testing::AssertionSuccess();
}

TEST(ChangedBands, CarryEveryChangeBetweenAnyTwoFrames)
{
    for (int from = 1; from <= frames::frameCount; from += 9) {
        for (int to = 1; to <= frames::frameCount; ++to) {
            ASSERT_TRUE(bandsCarryEveryChange(frameImage(from), frameImage(to))) << from << " to " << to;
        }
    }
}

TEST(ChangedBands, StayWellBelowTheWholeFrameBetweenNeighbours)
{
    // What makes them worth having: a step of the mechanism changes a small part of the drawing.
    long long changed = 0;
    for (int holder = 1; holder < frames::frameCount; ++holder) {
        for (const QRect& band : changedBands(frameImage(holder), frameImage(holder + 1), bandRows)) {
            changed += static_cast<long long>(band.width()) * band.height();
        }
    }
    const long long whole = static_cast<long long>(frames::frameWidth) * frames::frameHeight;
    EXPECT_LT(changed, whole * (frames::frameCount - 1) / 4);
}

TEST(ChangedBands, FindChangesAtTheEdgesAndIgnoreRowPadding)
{
    const QImage base = frameImage(1);
    EXPECT_TRUE(changedBands(base, base, bandRows).empty());

    // Bits past the right edge are not pixels.
    QImage padded = base;
    for (int y = 0; y < padded.height(); ++y) {
        padded.scanLine(y)[(padded.width() - 1) / 8] ^= 0x7F;
    }
    EXPECT_TRUE(changedBands(base, padded, bandRows).empty());

    // The last pixel of the last, shorter band, and the first pixel of the first.
    QImage corners = base;
    const int right = base.width() - 1;
    const int bottom = base.height() - 1;
    corners.setPixel(right, bottom, 1 - base.pixelIndex(right, bottom));
    corners.setPixel(0, 0, 1 - base.pixelIndex(0, 0));
    const auto bands = changedBands(base, corners, bandRows);
    ASSERT_EQ(bands.size(), 2u);
    EXPECT_EQ(bands[0], QRect(0, 0, 8, bandRows));
    EXPECT_EQ(bands[1], QRect(right / 8 * 8, bottom / bandRows * bandRows, right % 8 + 1, base.height() % bandRows));
    EXPECT_TRUE(bandsCarryEveryChange(base, corners));

    // A single changed pixel anywhere along a row gives one band, over its byte alone.
    for (int x = 0; x < base.width(); ++x) {
        QImage one = base;
        one.setPixel(x, 20, 1 - base.pixelIndex(x, 20));
        const auto found = changedBands(base, one, bandRows);
        ASSERT_EQ(found.size(), 1u) << "x " << x;
        EXPECT_EQ(found[0], QRect(x / 8 * 8, bandRows, std::min(8, base.width() - x / 8 * 8), bandRows)) << "x " << x;
    }
}

}  // namespace
}  // namespace qex
