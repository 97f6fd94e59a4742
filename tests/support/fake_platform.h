#pragma once

#include "engine/platform.h"
#include "engine/play_loop.h"
#include "engine/player_state.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qex::testing {

// Thrown by the fake where the real platform would end the process.
struct ProgramEnded {
    bool byError;
    std::string what;
};

class FakePicture final : public Picture {
public:
    explicit FakePicture(int holder) : holder(holder) {}
    const int holder;
};

// A scripted platform: records what the loop shows and waits for, runs scripted handler calls
// at chosen pumps, and ends the program after a set number of pumps. Never sleeps.
class FakePlatform final : public Platform {
public:
    static constexpr int loadingPumps = 53;

    // Ends the program (as EndProgram would) once this many pumps have run.
    int pumpLimit = loadingPumps + 40;
    std::vector<int> shownHolders;
    std::vector<std::chrono::microseconds> waits;
    int pumps = 0;
    int pictureRequests = 0;

    // Runs `action` inside pump number `pump` (1-based, counted from program start).
    void atPump(int pump, std::function<void()> action) { actions_[pump].push_back(std::move(action)); }
    // Runs `action` inside the pump that ends pass `pass` (1-based, counted after loading).
    void afterPass(int pass, std::function<void()> action) { atPump(loadingPumps + pass, std::move(action)); }

    PictureRef PictureOf(int holder) override;
    void ShowPicture(const PictureRef& picture) override;
    void PumpEvents() override;
    void Wait(std::chrono::microseconds span) override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

private:
    std::map<int, std::vector<std::function<void()>>> actions_;
    std::map<int, std::shared_ptr<const FakePicture>> pictures_;
};

// Starts the program on the fake and runs it until it ends; returns how it ended.
ProgramEnded RunProgram(PlayerState& state, FakePlatform& platform);

// Positions (0..17) and lifts shown by the passes after loading, in order.
std::vector<int> PassPositions(const FakePlatform& platform);
std::vector<int> PassLifts(const FakePlatform& platform);

}  // namespace qex::testing
