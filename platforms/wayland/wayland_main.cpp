#include "platforms/wayland/wayland_main.h"

namespace qex::wayland {

void runIfCompositor() {}

}  // namespace qex::wayland
