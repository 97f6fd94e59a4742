// Times the web platform's wait in the browser it runs in (see bench_samples.h for its output).
#include "bench/bench_samples.h"
#include "platforms/web/web_platform.h"

#include <emscripten/emscripten.h>

#include <cstring>

int main(int argc, char** argv)
{
    const bool smoke = argc > 1 && std::strcmp(argv[1], "--smoke") == 0;
    const qex::frames::WebFrameSet frames;
    qex::EventQueue queue;
    bench::NoEvents events;
    qex::Picture1 surface(events);
    qex::WebPlatform platform(frames, queue, surface);
    bench::printWaitPace(platform, [] { return emscripten_get_now(); }, smoke ? 5 : 40);
    return 0;
}
