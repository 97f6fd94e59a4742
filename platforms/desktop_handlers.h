#pragma once

#include "engine/player_state.h"
#include "input/handlers.h"
#include "platforms/surface_events.h"

#include <cstdint>

namespace qex {

// Hands the surface's input to the program's handlers, first telling the platform (a
// DesktopPlatform) that input came, since a stopped player sleeps until it does.
template <class DesktopPlatformType>
class DesktopHandlers final : public SurfaceEvents {
public:
    DesktopHandlers(PlayerState& state, DesktopPlatformType& platform) : state_(state), platform_(platform) {}

    void keyPress(std::int16_t& keyAscii) override
    {
        platform_.inputArrived();
        Picture1_KeyPress(state_, platform_, keyAscii);
    }

    void mouseMove(std::int16_t button, std::int16_t shift, float x, float y) override
    {
        platform_.inputArrived();
        Picture1_MouseMove(state_, platform_, button, shift, x, y);
    }

    void click() override
    {
        platform_.inputArrived();
        Picture1_Click(state_);
    }

    void dblClick() override
    {
        platform_.inputArrived();
        Picture1_DblClick(platform_);
    }

private:
    PlayerState& state_;
    DesktopPlatformType& platform_;
};

}  // namespace qex
