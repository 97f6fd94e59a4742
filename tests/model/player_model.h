#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace qex::model {

// The player's numeric state as the rules describe it, kept apart from the engine's record so
// that a fault shared by both cannot hide itself.
struct ModelState {
    float k = 0;
    int l = 0;
    int m = 0;
    int mm = 0;
    int n = 0;
    int hl = 0;
    int updo = 0;
    int nm = 0;
    int n1 = 0;
    int mm1 = 0;
    int m1 = 0;
    float yyy = 0;

    bool operator==(const ModelState&) const = default;
};

std::string Describe(const ModelState& state);

// How a handler call leaves the program.
enum class Outcome { carryOn, endProgram, raiseError };

inline constexpr int modelFramesPerLift = 18;
inline constexpr int modelSlots = 54;

// Values set once loading is over; they replace whatever the handlers stored meanwhile.
void StartUp(ModelState& state);

struct PassResult {
    // Empty when the slot to show is outside the table, which ends the program with an error.
    std::optional<int> slot;
    std::chrono::microseconds wait{0};
};

// Command, run, show and wait stages of one pass; the pump that follows is the caller's.
PassResult Pass(ModelState& state);

// The wait for count k; only defined for the counts that pointer moves inside +-1e6 can give.
std::chrono::microseconds WaitFor(float k);

Outcome Key(ModelState& state, int code);
Outcome Move(ModelState& state, float x, float y);
void Click(ModelState& state);
Outcome DoubleClick();

}  // namespace qex::model
