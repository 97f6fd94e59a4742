#include "tests/model/replay.h"

#include "engine/play_loop.h"

#include <exception>
#include <limits>
#include <sstream>

namespace qex::model {

RunReport Replay(const Script& script)
{
    PlayerState state;
    LockstepPlatform platform(state, script);
    std::optional<ProgramLeft> left;
    std::string otherwise;
    try {
        Form_Activate(state, platform);
    } catch (const ProgramLeft& ended) {
        left = ended;
    } catch (const RunStopped&) {
    } catch (const std::exception& e) {
        otherwise = std::string("an exception: ") + e.what();
    }
    platform.Finished(left, otherwise);
    return RunReport{platform.divergence(), platform.callsDelivered(), platform.passes(), platform.endedByCall()};
}

Shrunk Shrink(const Script& script)
{
    // Invariant: the first `passing` calls agree with the model and the first `failing` do not.
    std::size_t passing = 0;
    std::size_t failing = script.calls.size();
    RunReport failure = Replay(script);
    RunReport none = Replay(Prefix(script, 0));
    if (none.divergence) {
        return Shrunk{Prefix(script, 0), none};
    }
    while (failing - passing > 1) {
        const std::size_t middle = passing + (failing - passing) / 2;
        RunReport report = Replay(Prefix(script, middle));
        if (report.divergence) {
            failing = middle;
            failure = report;
        } else {
            passing = middle;
        }
    }
    return Shrunk{Prefix(script, failing), failure};
}

std::string FailureReport(const Script& script, const Shrunk& shrunk)
{
    constexpr std::size_t shownCalls = 40;
    std::ostringstream out;
    out << "seed " << script.seed << ": engine and model disagree; shortest failing prefix found: "
        << shrunk.prefix.calls.size() << " of " << script.calls.size() << " calls, ";
    if (shrunk.prefix.pumps == std::numeric_limits<int>::max()) {
        out << "run until the program ends\n";
    } else {
        out << "run to pump " << shrunk.prefix.pumps << "\n";
    }
    if (const auto& d = shrunk.report.divergence) {
        out << "first difference after pump " << d->pump << " (passes run: " << d->pass
            << ", calls delivered: " << d->callsDelivered << "): " << d->what << "\n"
            << "  engine: " << d->engineState << "\n"
            << "  model:  " << d->modelState << "\n";
    }
    const auto& calls = shrunk.prefix.calls;
    const std::size_t first = calls.size() > shownCalls ? calls.size() - shownCalls : 0;
    out << "calls " << first + 1 << ".." << calls.size() << " of the prefix:\n";
    for (std::size_t i = first; i < calls.size(); ++i) {
        out << "  #" << i + 1 << " " << Describe(calls[i]) << "\n";
    }
    return out.str();
}

}  // namespace qex::model
