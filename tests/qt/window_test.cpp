#include "platforms/qt/form1.h"

#include <gtest/gtest.h>

#include <QWindow>

namespace qex {
namespace {

const frames::FrameSet& Frames()
{
    static const frames::FrameSet frames;
    return frames;
}

TEST(Window, AllBuiltInFramesDecodeFromTheProgramItself)
{
    ASSERT_TRUE(Frames().isComplete());
    for (int holder = 1; holder <= frames::frameCount; ++holder) {
        const auto picture = std::dynamic_pointer_cast<const frames::FramePicture>(Frames().PictureOf(holder));
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->image().size(), QSize(345, 405));
        EXPECT_EQ(picture->image().depth(), 1) << "kept as 1-bit images, not 32-bit copies";
    }
    const auto first = Frames().PictureOf(1);
    EXPECT_EQ(Frames().PictureOf(1), first) << "handles share one picture";
}

TEST(Window, CaptionSizeAndTitleBarAreFixed)
{
    Form1 form(Frames());
    EXPECT_EQ(form.windowTitle().toStdString(), "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC");
    EXPECT_EQ(form.windowTitle().size(), 53);
    EXPECT_EQ(form.size(), QSize(349, 407));
    EXPECT_EQ(form.minimumSize(), QSize(349, 407));
    EXPECT_EQ(form.maximumSize(), QSize(349, 407));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST(Window, TheSurfaceCoversTheClientAreaWithASunkenTwoPixelBorder)
{
    Form1 form(Frames());
    Picture1& surface = form.surface();
    EXPECT_EQ(surface.parentWidget(), &form);
    EXPECT_EQ(surface.geometry(), QRect(0, 0, 349, 768));
    EXPECT_EQ(surface.contentsRect(), QRect(2, 2, 345, 764));
    EXPECT_EQ(surface.frameShadow(), QFrame::Sunken);
    EXPECT_EQ(form.focusWidget(), &surface);
    EXPECT_EQ(form.findChildren<QWidget*>().size(), 1) << "the surface is the window's only control";
}

}  // namespace
}  // namespace qex
