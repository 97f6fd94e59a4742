#include "platforms/x11/x11_main.h"

#include "platforms/x11/connection.h"
#include "platforms/x11/form1.h"
#include "platforms/x11/frame_set.h"

#include <cstdlib>

namespace qex::x11 {

void run()
{
    const Connection connection;
    const frames::FrameSet frames;
    Form1 form1(connection, frames);
    form1.run();
}

}  // namespace qex::x11
