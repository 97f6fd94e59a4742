#pragma once

#include "engine/player_state.h"
#include "platforms/web/event_queue.h"
#include "platforms/web/picture1.h"
#include "platforms/web/web_platform.h"

namespace qex {

// The page's window: owns the player state, the surface and the platform, and routes the
// surface's input to the handlers.
class Form1 final : public SurfaceEvents {
public:
    explicit Form1(const frames::WebFrameSet& frames);
    // Plays until an ending action; true when it ended through an error.
    bool run();

    void keyPress(std::int16_t& keyAscii) override;
    void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) override;
    void click() override;
    void dblClick() override;

private:
    PlayerState state_;
    EventQueue queue_;
    Picture1 picture1_;
    WebPlatform platform_;
};

}  // namespace qex
