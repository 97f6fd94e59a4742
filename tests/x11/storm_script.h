#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qex::x11test {

// Where the storm's pointer goes: the window's client area in root coordinates, and the
// screen around it.
struct StormArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int screenWidth = 0;
    int screenHeight = 0;
};

// One xdotool command line: a chain of many commands, so thousands of events cost a few
// dozen process starts. Button presses come in short lines of their own, last and followed
// by a round trip to the server, so whoever runs the lines controls how far apart they are.
struct StormLine {
    std::vector<std::string> argv;
    bool endsWithPress = false;
};

struct StormScript {
    std::vector<StormLine> lines;
    int events = 0;
    int presses = 0;
};

// Builds `events` pointer moves (inside and outside the window, with and without a held
// button), button presses and releases, and key strokes other than Escape, the same for the
// same seed: lines of `eventsPerLine` events, each but the last followed by a press line.
StormScript makeStormScript(const StormArea& area, std::uint32_t seed, int events, int eventsPerLine);

}  // namespace qex::x11test
