#include "platforms/wayland/wayland_main.h"

#include "platforms/wayland/connection.h"
#include "platforms/wayland/form1.h"
#include "platforms/wayland/frame_set.h"

namespace qex::wayland {

void runIfCompositor()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        return;
    }
    Connection connection(display);
    const frames::FrameSet frames;
    Form1 form1(connection, frames);
    form1.run();
}

}  // namespace qex::wayland
