#include "platforms/qt/frame_set.h"
#include "platforms/qt/mono_expand.h"

#include <gtest/gtest.h>

namespace qex {
namespace {

QImage frameImage(int holder)
{
    static const frames::FrameSet frames;
    return std::dynamic_pointer_cast<const frames::FramePicture>(frames.PictureOf(holder))->image();
}

TEST(MonoExpand, GivesExactlyWhatQtsConverterGivesWhicheverWayThePaletteRuns)
{
    QImage swapped = frameImage(9);
    swapped.invertPixels();
    swapped.setColorTable({swapped.color(1), swapped.color(0)});
    for (const QImage& source : {frameImage(1), frameImage(54), swapped}) {
        QImage expanded;
        expandToRgb32(source, expanded);
        EXPECT_EQ(expanded, source.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_EQ(swapped.convertToFormat(QImage::Format_RGB32), frameImage(9).convertToFormat(QImage::Format_RGB32));
}

TEST(MonoExpand, ReusesItsPixelsFromOneFrameToTheNext)
{
    QImage expanded;
    expandToRgb32(frameImage(1), expanded);
    const uchar* pixels = expanded.constBits();
    expandToRgb32(frameImage(2), expanded);
    EXPECT_EQ(expanded.constBits(), pixels);
    EXPECT_EQ(expanded, frameImage(2).convertToFormat(QImage::Format_RGB32));
    const QImage shared = expanded;
    expandToRgb32(frameImage(3), expanded);
    EXPECT_EQ(shared, frameImage(2).convertToFormat(QImage::Format_RGB32)) << "a copy held elsewhere is left alone";
}

}  // namespace
}  // namespace qex
