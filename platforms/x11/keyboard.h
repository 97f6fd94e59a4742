#pragma once

#include "platforms/x11/connection.h"
#include "platforms/x11/late_libraries.h"

#include <xkbcommon/xkbcommon.h>

#include <cstdint>

namespace qex::x11 {

// The server's keyboard as characters: its keymap, and the modifier and group state the server
// reports, so that a key means what the user's layout says (the keypad included).
class Keyboard {
public:
    // Ends the program if the server has no keyboard extension or its library is missing.
    explicit Keyboard(const Connection& connection);
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // The character a press of the key gives now; 0 for none.
    std::uint32_t character(xcb_keycode_t key) const;
    // Takes the keyboard extension's events (state and keymap changes); false for other events.
    bool handle(const xcb_generic_event_t& event);

private:
    void loadKeymap();

    const Connection& connection_;
    const XkbFunctions* xkb_;
    std::uint8_t firstEvent_ = 0;
    std::int32_t device_ = -1;
    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
    xkb_state* state_ = nullptr;
};

}  // namespace qex::x11
