#include "storm_run.h"

#include <algorithm>
#include <optional>
#include <thread>

namespace qex::x11test {

StormRun::StormRun(Session& session, const StormScript& script, Clock::duration span)
    : done_(std::async(std::launch::async, [this, &session, &script, span] { feed(session, script, span); }))
{
}

StormRun::~StormRun()
{
    stop_ = true;
    if (done_.valid()) {
        done_.wait();
    }
}

void StormRun::feed(Session& session, const StormScript& script, Clock::duration span)
{
    if (script.lines.empty()) {
        return;
    }
    const auto start = Clock::now();
    const auto slot = span / static_cast<int>(script.lines.size());
    std::optional<Clock::time_point> lastPress;
    for (std::size_t i = 0; i < script.lines.size() && !stop_; ++i) {
        const auto& line = script.lines[i];
        auto notBefore = start + slot * static_cast<int>(i);
        // A line's press comes after the line started, and the previous one was stamped by
        // the server before its line returned: starting pressSpacing after that return keeps
        // them apart on the server's clock however late either runs.
        if (line.endsWithPress && lastPress) {
            notBefore = std::max(notBefore, *lastPress + pressSpacing);
        }
        std::this_thread::sleep_until(notBefore);
        session.tool(line.argv);
        if (line.endsWithPress) {
            lastPress = Clock::now();
        }
    }
}

}  // namespace qex::x11test
