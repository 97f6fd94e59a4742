#include "platforms/qt/display_check.h"
#include "platforms/qt/frame_set.h"
#include "platforms/qt/form1.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    qex::app::guardPlatformStart();
    QApplication application(argc, argv);
    qex::app::endPlatformGuard();

    const qex::frames::FrameSet frames;
    if (!frames.isComplete()) {
        std::fputs("qex-lifts: error: the built-in frames could not be decoded\n", stderr);
        return EXIT_FAILURE;
    }
    qex::Form1 form1(frames);
    form1.show();
    return application.exec();
}
