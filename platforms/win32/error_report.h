#pragma once

#include <string>
#include <string_view>

namespace qex {

// The program's default error report: one line on standard error, and a message box when
// there is no console to read it in (started from the Start menu); then ends with status 1.
[[noreturn]] void reportErrorAndExit(std::string_view what);

// The text of the calling thread's last Win32 error, for a report line.
std::string lastErrorText();

}  // namespace qex
