#pragma once

#include "engine/player_state.h"
#include "platforms/qt/frame_set.h"
#include "platforms/qt/picture1.h"
#include "platforms/qt/qt_platform.h"
#include "platforms/surface_events.h"

#include <QWidget>

namespace qex {

// The program's one window: fixed 349 x 407 client area covered by the display surface, below
// the window's own title strip where the window system would give it an unfit one.
// Owns the player state; its first activation (or first show, where nothing activates
// windows) enters the play loop, once.
class Form1 final : public QWidget, private SurfaceEvents {
public:
    static constexpr int clientWidth = 349;   // logical pixels
    static constexpr int clientHeight = 407;  // logical pixels
    static const char* const caption;

    explicit Form1(const frames::FrameSet& frames);

    Picture1& surface() { return *picture1_; }

    // Shows the window; where the window system leaves the title bar to Qt, the window draws its own.
    void open();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void keyPress(std::int16_t& keyAscii) override;
    void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
    void click() override;
    void dblClick() override;

    void takeOverTitleIfQtDrawsIt();

    PlayerState state_;
    Picture1* picture1_;
    QtPlatform platform_;
    bool activated_ = false;
    bool ownTitle_ = false;
};

}  // namespace qex
