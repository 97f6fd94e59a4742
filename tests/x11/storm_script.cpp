#include "storm_script.h"

#include <algorithm>
#include <random>
#include <stdexcept>

namespace qex::x11test {
namespace {

// A press line: the pointer placed (or a held button released), then the press.
constexpr int pressLineEvents = 2;

const std::vector<std::string>& commandKeys()
{
    static const std::vector<std::string> keys = {
        "plus",  "minus",  "asterisk", "slash",       "comma",       "period",    "space",
        "space", "KP_Add", "KP_Subtract", "KP_Multiply", "KP_Divide", "KP_Decimal"};
    return keys;
}

// Keys that mean nothing to the program, Escape left out: it would end the storm.
const std::vector<std::string>& otherKeys()
{
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> list = {"A", "Q", "Z", "Return", "Tab", "BackSpace", "KP_Enter"};
        for (char c = 'a'; c <= 'z'; ++c) {
            list.emplace_back(1, c);
        }
        for (char c = '0'; c <= '9'; ++c) {
            list.emplace_back(1, c);
            list.push_back(std::string("KP_") + c);
        }
        for (const char* f : {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"}) {
            list.emplace_back(f);
        }
        return list;
    }();
    return keys;
}

class Builder {
public:
    Builder(const StormArea& area, std::uint32_t seed) : area_(area), random_(seed) {}

    // mt19937's sequence is fixed by the standard; the distributions are not, so none is used.
    int below(int bound) { return static_cast<int>(random_() % static_cast<std::uint32_t>(bound)); }

    void moveInside(StormLine& line)
    {
        move(line, area_.left + below(area_.width), area_.top + below(area_.height));
    }

    void moveOutside(StormLine& line)
    {
        for (;;) {
            const int x = below(area_.screenWidth);
            const int y = below(area_.screenHeight);
            const bool inside = x >= area_.left && x < area_.left + area_.width && y >= area_.top &&
                                y < area_.top + area_.height;
            if (!inside) {
                move(line, x, y);
                return;
            }
        }
    }

    void key(StormLine& line)
    {
        const auto& keys = below(10) < 3 ? commandKeys() : otherKeys();
        const auto& keysym = keys[static_cast<std::size_t>(below(static_cast<int>(keys.size())))];
        // Without --delay each key would wait 12 ms after itself.
        line.argv.insert(line.argv.end(), {"key", "--delay", "0", keysym});
    }

    // Left, middle and right presses, and the wheel's, which arrive as presses too. Returns
    // the button a mousedown left held, or 0 after a click.
    int press(StormLine& line)
    {
        const int button = 1 + below(5);
        const bool hold = button <= 3 && below(3) == 0;
        line.argv.insert(line.argv.end(), {hold ? "mousedown" : "click", std::to_string(button)});
        // A round trip: once xdotool has the answer, the server has stamped the press.
        line.argv.emplace_back("getmouselocation");
        line.endsWithPress = true;
        return hold ? button : 0;
    }

private:
    static void move(StormLine& line, int x, int y)
    {
        line.argv.insert(line.argv.end(), {"mousemove", std::to_string(x), std::to_string(y)});
    }

    StormArea area_;
    std::mt19937 random_;
};

}  // namespace

StormScript makeStormScript(const StormArea& area, std::uint32_t seed, int events, int eventsPerLine)
{
    if (area.width <= 0 || area.height <= 0 || area.width * area.height >= area.screenWidth * area.screenHeight ||
        eventsPerLine < 1) {
        throw std::invalid_argument("no room for a storm");
    }
    Builder builder(area, seed);
    StormScript script;
    int held = 0;
    const auto release = [&held](StormLine& line) {
        line.argv.insert(line.argv.end(), {"mouseup", std::to_string(held)});
        held = 0;
    };
    for (int remaining = events; remaining > 0;) {
        StormLine bulk{{"xdotool"}};
        // Less than a press line would leave over goes into this line.
        const int count = remaining - eventsPerLine < pressLineEvents ? remaining : eventsPerLine;
        remaining -= count;
        for (int i = 0; i < count; ++i) {
            const int roll = builder.below(100);
            // Nothing may stay pressed after the storm.
            const bool lastEvent = remaining == 0 && i == count - 1;
            if (held != 0 && (lastEvent || (roll >= 92 && builder.below(2) == 0))) {
                release(bulk);
            } else if (roll < 40) {
                builder.moveInside(bulk);
            } else if (roll < 52 || roll >= 92) {
                builder.moveOutside(bulk);
            } else {
                builder.key(bulk);
            }
        }
        script.lines.push_back(std::move(bulk));
        // Only with events left for a line after it, which can release a held button.
        if (remaining > pressLineEvents) {
            StormLine press{{"xdotool"}};
            // Most presses land on the window, where they count as clicks.
            if (held != 0) {
                release(press);
            } else if (builder.below(4) != 0) {
                builder.moveInside(press);
            } else {
                builder.moveOutside(press);
            }
            held = builder.press(press);
            remaining -= pressLineEvents;
            ++script.presses;
            script.lines.push_back(std::move(press));
        }
    }
    script.events = events;
    return script;
}

}  // namespace qex::x11test
