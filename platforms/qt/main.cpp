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
    // Every pointer move is a command in scrub mode: queued moves must not be merged into one.
    // Set after the window system's start-up, which sets its own default.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);

    const qex::frames::FrameSet frames;
    if (!frames.isComplete()) {
        std::fputs("qex-lifts: error: the built-in frames could not be decoded\n", stderr);
        return EXIT_FAILURE;
    }
    qex::Form1 form1(frames);
    form1.open();
    return application.exec();
}
