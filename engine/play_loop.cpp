#include "engine/play_loop.h"

#include "engine/pacing.h"

#include <string>

namespace qex {
namespace {

constexpr int wrap = frames::framesPerLift;

void LoadFrames(PlayerState& state, Platform& platform)
{
    state.pics[frames::slotOfHolder(1)] = platform.PictureOf(1);
    platform.ShowPicture(state.pics[0]);
    // The queue is pumped after each further picture so the window stays alive while loading.
    for (int holder = 2; holder <= frames::frameCount; ++holder) {
        state.pics[frames::slotOfHolder(holder)] = platform.PictureOf(holder);
        platform.PumpEvents();
    }
}

void SetStartUpValues(PlayerState& state)
{
    state.n = command::running;
    state.k = 1000000;
    state.hl = 0;
    state.updo = 1;
}

void ApplyCommand(PlayerState& s)
{
    if (s.n == command::runBackwards) {
        s.l = (s.l + wrap - 1) % wrap;
        s.mm = 0;
        s.m = 1;
        s.n = command::running;
    }
    if (s.n == command::runForwards) {
        s.l = (s.l + 1) % wrap;
        s.m = 0;
        s.mm = 1;
        s.n = command::running;
    }
    // During a run the step and the run flag cancel out, so the step stops on the frame shown last.
    if (s.n == command::stepBack) {
        s.l = (s.l + wrap - 1 + s.m + s.mm) % wrap;
        s.mm = 0;
        s.m = 0;
        s.n = command::stopped;
    }
    if (s.n == command::stepForward) {
        s.l = (s.l + 1 - s.m - s.mm) % wrap;
        s.mm = 0;
        s.m = 0;
        s.n = command::stopped;
    }
}

void Run(PlayerState& s)
{
    if (s.n != command::stopped && s.m == 0) {
        s.l = (s.l + s.n) % wrap;
    }
    if (s.m == 1) {
        s.l = (s.l + wrap - 1) % wrap;
    }
}

void Show(PlayerState& s, Platform& platform)
{
    const int slot = frames::slotOf(s.hl, s.l);
    if (!frames::isSlot(slot)) {
        platform.RaiseError("frame index " + std::to_string(slot) + " is outside 0..53");
    }
    platform.ShowPicture(s.pics[static_cast<std::size_t>(slot)]);
}

}  // namespace

void Delay(PlayerState& state, Platform& platform)
{
    platform.Wait(passWait(state.k));
    platform.PumpEvents();
}

void PlayPass(PlayerState& state, Platform& platform)
{
    ApplyCommand(state);
    Run(state);
    Show(state, platform);
    Delay(state, platform);
}

void Form_Activate(PlayerState& state, Platform& platform)
{
    LoadFrames(state, platform);
    SetStartUpValues(state);
    for (;;) {
        PlayPass(state, platform);
    }
}

}  // namespace qex
