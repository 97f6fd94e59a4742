#include "input/handlers.h"

namespace qex {

constexpr std::int16_t escapeKey = 27;

void Picture1_KeyPress(PlayerState& state, Lifetime& lifetime, std::int16_t& keyAscii)
{
    if (keyAscii == escapeKey) {
        lifetime.EndProgram();
    }
    // Codes are single-byte characters, so comparing the code is comparing the character.
    const std::int16_t c = keyAscii;
    if (c == '-') {
        state.n = command::runBackwards;
    }
    if (c == '+' || c == ',') {
        state.n = command::runForwards;
    }
    if (c == '/') {
        state.n = command::stepBack;
    }
    if (c == '*' || c == '.') {
        state.n = command::stepForward;
    }
    if (c == ' ') {
        // Lifts go 0, 1, 2, 1, 0, 1, ...: the direction turns at either end.
        state.hl = state.hl + state.updo;
        if (state.hl > 1) {
            state.updo = -1;
        }
        if (state.hl < 1) {
            state.updo = 1;
        }
    }
}

}  // namespace qex
