#include "platforms/linux/process_end.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace qex {

void endProcess(int status)
{
    std::fflush(nullptr);
#if defined(__SANITIZE_ADDRESS__)
    if (status == EXIT_SUCCESS) {
        __lsan_do_leak_check();
    }
#endif
    // Leaving through the loop's nested waits would run code after the end; the process stops here.
    std::_Exit(status);
}

void reportErrorAndEnd(std::string_view what)
{
    std::fprintf(stderr, "qex-lifts: error: %.*s\n", static_cast<int>(what.size()), what.data());
    endProcess(EXIT_FAILURE);
}

}  // namespace qex
