#pragma once

#include "process.h"

#include <string>
#include <vector>

namespace qex::x11test {

struct CommandResult {
    ExitStatus status;
    std::string out;
};

// Runs a helper tool to its end and collects its standard output; throws when it
// cannot be started or does not finish within the timeout.
CommandResult runCommand(const std::vector<std::string>& argv, const Environment& environment,
                         Clock::duration timeout);

}  // namespace qex::x11test
