#pragma once

#include "engine/platform.h"
#include "engine/player_state.h"
#include "tests/model/player_model.h"
#include "tests/model/script.h"

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace qex::model {

// Thrown where the real platform would end the process.
struct ProgramLeft {
    bool byError = false;
    std::string what;
};

// Thrown to stop the endless loop once the script is played out or the engine has strayed.
struct RunStopped {};

// The first point where the engine and the model disagree.
struct Divergence {
    int pump = 0;  // the pump at (or just before) which it showed
    int pass = 0;  // passes shown so far; 0 while loading
    std::size_t callsDelivered = 0;
    std::string what;
    std::string engineState;
    std::string modelState;
};

// A platform that plays a script into the engine's handlers and the model alike and checks,
// at every show, wait and pump, that the engine did what the model says it should.
class LockstepPlatform final : public Platform {
public:
    LockstepPlatform(PlayerState& engine, const Script& script) : engine_(engine), script_(script) {}

    PictureRef PictureOf(int holder) override;
    void ShowPicture(const PictureRef& picture) override;
    void PumpEvents() override;
    void Wait(std::chrono::microseconds span) override;
    [[noreturn]] void EndProgram() override;
    [[noreturn]] void RaiseError(std::string_view what) override;

    // Called with however the engine's loop was left; records a divergence if the model disagrees.
    void Finished(const std::optional<ProgramLeft>& left, const std::string& otherwise);

    const std::optional<Divergence>& divergence() const { return divergence_; }
    std::size_t callsDelivered() const { return next_; }
    int passes() const { return passes_; }
    bool endedByCall() const { return modelEnd_.has_value(); }

private:
    [[noreturn]] void Diverge(const std::string& what);
    void CheckLoadedSlot(int slot);
    void CheckState();
    void Deliver(int pump);
    Outcome ApplyToModel(const Call& call);
    void ApplyToEngine(const Call& call);
    int HolderOf(const PictureRef& picture) const;

    PlayerState& engine_;
    const Script& script_;
    ModelState model_;
    std::size_t next_ = 0;
    int pumps_ = 0;
    int passes_ = 0;
    std::string sincePump_;  // 'S' per show, 'W' per wait, since the last pump
    PassResult expected_;
    std::optional<Outcome> modelEnd_;
    std::optional<Divergence> divergence_;
    std::map<int, PictureRef> pictures_;
};

}  // namespace qex::model
