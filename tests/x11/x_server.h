#pragma once

#include "process.h"

#include <memory>
#include <string>

namespace qex::x11test {

// A private virtual X server for one test. Xvfb picks a free display number itself, so
// tests can run side by side; the constructor returns once the server accepts clients.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& display() const { return display_; }
    // The test's environment with DISPLAY naming this server.
    Environment environment() const;
    // Stops the server the way a dying one ends for its clients: every connection closes.
    // A polite stop, so the server still removes its socket and lock file.
    void stop();

private:
    std::unique_ptr<ChildProcess> process_;
    std::string display_;
};

}  // namespace qex::x11test
