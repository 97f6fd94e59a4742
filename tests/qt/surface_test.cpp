#include "platforms/qt/picture1.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <string>
#include <vector>

namespace qex {
namespace {

struct Recorder final : SurfaceEvents {
    std::vector<std::string> calls;
    std::vector<int> keys;
    std::vector<QPointF> moves;
    std::vector<int> buttons;

    void keyPress(std::int16_t& keyAscii) override
    {
        calls.push_back("key");
        keys.push_back(keyAscii);
    }
    void mouseMove(std::int16_t button, std::int16_t, float x, float y) override
    {
        calls.push_back("move");
        moves.emplace_back(x, y);
        buttons.push_back(button);
    }
    void click() override { calls.push_back("click"); }
    void dblClick() override { calls.push_back("dblclick"); }
};

class Surface : public ::testing::Test {
protected:
    Surface() : surface(recorder, &host) { host.resize(349, 407); }

    std::shared_ptr<const frames::FramePicture> frame(int holder) const
    {
        return std::dynamic_pointer_cast<const frames::FramePicture>(frameSet.PictureOf(holder));
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), surface.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QApplication::sendEvent(&surface, &event);
    }
    void key(int code, const QString& text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, code, modifiers, text);
        QApplication::sendEvent(&surface, &event);
    }

    const frames::FrameSet frameSet;
    Recorder recorder;
    QWidget host;
    Picture1 surface;
};

TEST_F(Surface, ShowsThePictureUnscaledInsideTheBorder)
{
    const auto picture = frame(7);
    surface.setPicture(picture);
    const QImage shown = surface.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = picture->image().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(349, 768));
    int mismatches = 0;
    for (int row = 0; row < 405; ++row) {
        for (int col = 0; col < 345; ++col) {
            mismatches += shown.pixel(col + 2, row + 2) != expected.pixel(col, row);
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_NE(shown.pixel(0, 0), qRgb(255, 255, 255)) << "the sunken border's shadow";
}

TEST_F(Surface, ShowsNothingUntilGivenAPictureAndIgnoresTheSamePictureAgain)
{
    const QImage before = surface.grab().toImage();
    EXPECT_EQ(before.pixel(100, 100), before.pixel(300, 300));
    EXPECT_TRUE(surface.setPicture(frame(1)));
    EXPECT_FALSE(surface.setPicture(frame(1)));
    EXPECT_TRUE(surface.setPicture(frame(2)));
}

TEST_F(Surface, UserScaleRunsFromZeroAtTheInnerCornerToTheLastVisiblePixel)
{
    EXPECT_EQ(Picture1::userScale(0, 0), QPointF(0, 0));
    const QPointF last = Picture1::userScale(344, 404);
    EXPECT_NEAR(last.x(), 14.84, 0.005);
    EXPECT_NEAR(last.y(), 15.78, 0.005);
    EXPECT_EQ(Picture1::userScale(345, 764), QPointF(14.8828125, 29.84375));
}

TEST_F(Surface, PointerMovesAreReportedInsideAndWhileAPressedButtonIsHeld)
{
    mouse(QEvent::MouseMove, {1, 1}, Qt::NoButton, Qt::NoButton);   // on the border
    mouse(QEvent::MouseMove, {2, 2}, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseMove, {346, 406}, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {-40, 900}, Qt::NoButton, Qt::LeftButton);
    ASSERT_THAT(recorder.calls, ::testing::ElementsAre("move", "move", "move"));
    EXPECT_EQ(recorder.moves[0], QPointF(0, 0));
    EXPECT_NEAR(recorder.moves[1].x(), 14.84, 0.005);
    EXPECT_NEAR(recorder.moves[1].y(), 15.78, 0.005);
    EXPECT_LT(recorder.moves[2].x(), 0);
    EXPECT_GT(recorder.moves[2].y(), 29.84375);
    EXPECT_THAT(recorder.buttons, ::testing::ElementsAre(0, 0, 1));
}

TEST_F(Surface, ADoubleClickComesAfterTheClickOfItsFirstPress)
{
    mouse(QEvent::MouseButtonPress, {60, 60}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {60, 60}, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonDblClick, {60, 60}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {60, 60}, Qt::LeftButton, Qt::NoButton);
    EXPECT_THAT(recorder.calls, ::testing::ElementsAre("click", "dblclick"));
}

TEST_F(Surface, AClickNeedsItsReleaseOnTheSurfaceAndALeftOrRightButton)
{
    mouse(QEvent::MouseButtonPress, {60, 60}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {600, 60}, Qt::LeftButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, {60, 60}, Qt::MiddleButton, Qt::MiddleButton);
    mouse(QEvent::MouseButtonRelease, {60, 60}, Qt::MiddleButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, {60, 60}, Qt::RightButton, Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {60, 60}, Qt::RightButton, Qt::NoButton);
    EXPECT_THAT(recorder.calls, ::testing::ElementsAre("click"));
}

TEST_F(Surface, KeysArriveAsTheirCharactersAndKeysWithoutOneAreDropped)
{
    key(Qt::Key_Plus, "+");
    key(Qt::Key_Plus, "+", Qt::KeypadModifier);
    key(Qt::Key_Period, ".", Qt::KeypadModifier);
    key(Qt::Key_Escape, "\x1b");
    key(Qt::Key_F1, "");
    key(Qt::Key_Delete, "", Qt::KeypadModifier);
    key(Qt::Key_Space, " ");
    EXPECT_THAT(recorder.keys, ::testing::ElementsAre('+', '+', '.', 27, ' '));
}

TEST_F(Surface, TabIsAnOrdinaryKeyAndKeepsTheFocus)
{
    host.show();
    surface.setFocus();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
    QApplication::sendEvent(&surface, &tab);
    EXPECT_THAT(recorder.keys, ::testing::ElementsAre('\t'));
    EXPECT_EQ(host.focusWidget(), &surface);
}

}  // namespace
}  // namespace qex
