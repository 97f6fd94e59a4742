#include "platforms/web/form1.h"
#include "platforms/web/page.h"
#include "platforms/web/web_frames.h"

#include <cstdlib>

int main()
{
    const qex::frames::WebFrameSet frames;
    bool failed = true;
    if (frames.isComplete()) {
        qex::Form1 form1(frames);
        failed = form1.run();
    } else {
        qex_page_report("qex-lifts: error: the built-in frames could not be decoded");
    }
    qex_page_end(failed ? 1 : 0);
    return failed ? EXIT_FAILURE : EXIT_SUCCESS;
}
