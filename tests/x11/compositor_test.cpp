// Under a compositing manager (QEX_TEST_WINDOW_MANAGER): the screen, which the manager paints
// from its own copy of the window, shows one whole frame at every moment of the fastest pace.
#include "session.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros would rename gtest's own identifiers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>

namespace qex::x11test {
namespace {

using namespace std::chrono_literals;

// Reads the part of the root window that the program's client area covers: what the
// compositor shows there, not what the program drew into its own window.
class ScreenUnderWindow {
public:
    ScreenUnderWindow(const std::string& display, const std::string& window)
        : connection_(XOpenDisplay(display.c_str()), XCloseDisplay)
    {
        if (!connection_) {
            throw std::runtime_error("cannot open display " + display);
        }
        Display* x = connection_.get();
        Window child = 0;
        const auto id = static_cast<Window>(std::stoul(window));
        XTranslateCoordinates(x, id, DefaultRootWindow(x), 0, 0, &left_, &top_, &child);
    }

    Screenshot sample() const
    {
        constexpr int width = frameWidth + 2 * borderWidth;
        constexpr int height = frameHeight + 2 * borderWidth;
        Display* x = connection_.get();
        const auto destroy = [](XImage* image) { XDestroyImage(image); };
        const std::unique_ptr<XImage, decltype(destroy)> image(
            XGetImage(x, DefaultRootWindow(x), left_, top_, width, height, AllPlanes, ZPixmap), destroy);
        if (!image) {
            throw std::runtime_error("the screen under the window could not be read");
        }
        Screenshot shot{width, height, {}};
        shot.pixels.reserve(static_cast<std::size_t>(width) * height);
        for (int row = 0; row < height; ++row) {
            for (int col = 0; col < width; ++col) {
                shot.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image.get(), col, row)) & 0xFFFFFF);
            }
        }
        return shot;
    }

private:
    std::unique_ptr<Display, int (*)(Display*)> connection_;
    int left_ = 0;
    int top_ = 0;
};

TEST(UnderACompositor, EverySampleOfTheScreenAtTheFastestPaceIsOneWholeFrame)
{
    ASSERT_TRUE(std::getenv("QEX_TEST_WINDOW_MANAGER")) << "this test needs a compositing manager to run";
    Session session;
    session.waitForPlayLoop();
    session.moveTo(2, 2);
    ASSERT_TRUE(session.waitForHolder([](int holder) { return holder != 0 && holder != 2; }, 8s))
        << session.report();

    const ScreenUnderWindow screen(session.display(), session.window());
    constexpr int samples = 600;
    int mixed = 0;
    std::set<int> shown;
    for (int i = 0; i < samples; ++i) {
        const int holder = FrameLibrary::instance().identify(screen.sample());
        if (holder == 0) {
            ++mixed;
        } else {
            shown.insert(holder);
        }
    }
    RecordProperty("mixed", mixed);
    RecordProperty("distinct_frames", static_cast<int>(shown.size()));
    EXPECT_EQ(mixed, 0) << "of " << samples << " samples; " << session.report();
    // The whole start-up lift passes by many times in the samples' span, unless the screen stood still.
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(positionsPerLift)) << session.report();
}

}  // namespace
}  // namespace qex::x11test
