#include "captured_output.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace qex::x11test {

CapturedOutput::CapturedOutput() : fd_(::memfd_create("qex-x11-output", MFD_CLOEXEC))
{
    if (fd_.get() < 0) {
        throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
    }
}

std::string CapturedOutput::text() const
{
    std::string text;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd_.get(), buffer, sizeof buffer, at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(got));
        at += got;
    }
}

}  // namespace qex::x11test
