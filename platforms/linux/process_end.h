#pragma once

#include <string_view>

namespace qex {

// Ends the process at once with status: standard streams flushed and, in a leak-checking build,
// the leak check that exit handlers would run; no destructor or exit handler of the program's runs.
[[noreturn]] void endProcess(int status);

// The default error report: "qex-lifts: error: what" on standard error, then status 1.
[[noreturn]] void reportErrorAndEnd(std::string_view what);

}  // namespace qex
