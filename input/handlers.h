#pragma once

#include "engine/platform.h"
#include "engine/player_state.h"

#include <cstdint>

namespace qex {

// The surface's input handlers. They only record commands in the player state and return;
// the play loop acts on them at its next pass. Escape and double-click end the program.

// keyAscii: the character's code in the single-byte character set; read, never changed.
void Picture1_KeyPress(PlayerState& state, Lifetime& lifetime, std::int16_t& keyAscii);

// x, y: pointer position in surface units (14.8828125 across, 25.6 pixels per y unit).
void Picture1_MouseMove(PlayerState& state, Lifetime& lifetime, std::int16_t button,
                        std::int16_t shift, float x, float y);

void Picture1_Click(PlayerState& state);

void Picture1_DblClick(Lifetime& lifetime);

}  // namespace qex
