#pragma once

namespace qex::linux_desktop {

// Plays on the Wayland compositor that WAYLAND_DISPLAY names, through the program's Wayland
// module, until the program ends; returns, having shown nothing, when no compositor answers
// or the module cannot be opened (said in one line).
void runOnWaylandIfCompositor();

}  // namespace qex::linux_desktop
