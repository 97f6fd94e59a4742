#pragma once

#include "tests/model/lockstep_platform.h"
#include "tests/model/script.h"

#include <cstddef>
#include <optional>
#include <string>

namespace qex::model {

struct RunReport {
    std::optional<Divergence> divergence;
    std::size_t callsDelivered = 0;
    int passes = 0;
    bool endedByCall = false;
};

// Plays the script into a fresh engine and model in lockstep.
RunReport Replay(const Script& script);

struct Shrunk {
    Script prefix;
    RunReport report;
};

// The shortest prefix of a diverging script that still diverges, by binary search on the
// number of calls replayed from the same seed.
Shrunk Shrink(const Script& script);

// Seed, shrunk prefix, first differing pass and both states, for a failure message.
std::string FailureReport(const Script& script, const Shrunk& shrunk);

}  // namespace qex::model
