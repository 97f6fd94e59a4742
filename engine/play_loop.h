#pragma once

#include "engine/platform.h"
#include "engine/player_state.h"

namespace qex {

// Fills the frame table, shows slot 0, sets the start-up values, then plays forever.
// Leaves only through the platform's EndProgram or RaiseError.
[[noreturn]] void Form_Activate(PlayerState& state, Platform& platform);

// One pass of the loop: command, run, show and pace stages.
void PlayPass(PlayerState& state, Platform& platform);

// Waits for the count in k (read once), then pumps events once.
void Delay(PlayerState& state, Platform& platform);

}  // namespace qex
