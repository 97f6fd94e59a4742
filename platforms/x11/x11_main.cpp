#include "platforms/x11/x11_main.h"

#include <cstdio>
#include <cstdlib>

namespace qex::x11 {

void run()
{
    std::fputs("qex-lifts: error: the X11 window is not built yet\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

}  // namespace qex::x11
