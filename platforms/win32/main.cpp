#include "platforms/win32/error_report.h"
#include "platforms/win32/form1.h"
#include "platforms/win32/frame_set.h"

int main()
{
    const qex::frames::FrameSet frames;
    if (!frames.isComplete()) {
        qex::reportErrorAndExit("the built-in frames could not be decoded");
    }
    qex::Form1 form1(frames);
    form1.show();
    form1.run();
}
