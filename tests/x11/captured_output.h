#pragma once

#include "unique_fd.h"

#include <string>

namespace qex::x11test {

// What a child writes to a descriptor, kept in an anonymous in-memory file: nothing is
// left on disk, not even when the test process is killed.
class CapturedOutput {
public:
    CapturedOutput();
    int fd() const { return fd_.get(); }
    std::string text() const;

private:
    Fd fd_;
};

}  // namespace qex::x11test
