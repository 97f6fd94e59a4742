#include "platforms/web/form1.h"
#include "platforms/web/page.h"
#include "platforms/web/web_frames.h"

#include <cstdlib>

int main()
{
    const qex::frames::WebFrameSet frames;
    qex::Form1 form1(frames);
    const bool failed = form1.run();
    qex_page_end(failed ? 1 : 0);
    return failed ? EXIT_FAILURE : EXIT_SUCCESS;
}
