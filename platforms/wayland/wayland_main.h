#pragma once

namespace qex::wayland {

// Plays on the compositor that WAYLAND_DISPLAY names until the program ends; returns, having
// shown nothing, only when no compositor answers there.
void runIfCompositor();

}  // namespace qex::wayland
