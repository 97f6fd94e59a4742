#include "platforms/wayland/wayland_main.h"

// The one name the program looks up after opening this module; it returns only when no
// compositor answers, having shown nothing.
extern "C" __attribute__((visibility("default"))) void qex_lifts_wayland_run()
{
    qex::wayland::runIfCompositor();
}
