#include "tests/model/lockstep_platform.h"

#include "input/handlers.h"

#include <memory>

namespace qex::model {
namespace {

// Each holder's picture remembers its holder, so a shown picture names the slot it came from.
class HolderPicture final : public Picture {
public:
    explicit HolderPicture(int holder) : holder(holder) {}
    const int holder;
};

ModelState FieldsOf(const PlayerState& s)
{
    return ModelState{s.k, s.l, s.m, s.mm, s.n, s.hl, s.updo, s.nm, s.n1, s.mm1, s.m1, s.yyy};
}

std::string SlotText(const std::optional<int>& slot)
{
    return slot ? std::to_string(*slot) : std::string("none (an error)");
}

}  // namespace

void LockstepPlatform::Diverge(const std::string& what)
{
    if (!divergence_) {
        divergence_ = Divergence{pumps_, passes_, next_, what, Describe(FieldsOf(engine_)), Describe(model_)};
    }
    throw RunStopped{};
}

int LockstepPlatform::HolderOf(const PictureRef& picture) const
{
    const auto* held = dynamic_cast<const HolderPicture*>(picture.get());
    return held == nullptr ? 0 : held->holder;
}

PictureRef LockstepPlatform::PictureOf(int holder)
{
    if (modelEnd_) {
        Diverge("asked for a picture after the program ended");
    }
    if (holder < 1 || holder > modelSlots) {
        Diverge("asked for the picture of holder " + std::to_string(holder));
    }
    auto& picture = pictures_[holder];
    if (!picture) {
        picture = std::make_shared<const HolderPicture>(holder);
    }
    return picture;
}

void LockstepPlatform::ShowPicture(const PictureRef& picture)
{
    if (modelEnd_) {
        Diverge("showed a picture after the program ended");
    }
    const int slot = HolderOf(picture) - 1;
    if (pumps_ == 0) {
        // Start-up shows slot 0 before the first pump, and only once.
        if (!sincePump_.empty() || slot != 0) {
            Diverge("start-up showed slot " + std::to_string(slot) + " after '" + sincePump_ + "'; expected slot 0 once");
        }
    } else if (pumps_ < loadingPumps) {
        Diverge("showed slot " + std::to_string(slot) + " while loading");
    } else {
        if (!sincePump_.empty()) {
            Diverge("showed again after '" + sincePump_ + "' with no pump between");
        }
        if (passes_ == 0) {
            StartUp(model_);
        }
        ++passes_;
        expected_ = Pass(model_);
        if (!expected_.slot || *expected_.slot != slot) {
            Diverge("pass " + std::to_string(passes_) + " showed slot " + std::to_string(slot) +
                    "; model shows " + SlotText(expected_.slot));
        }
    }
    sincePump_ += 'S';
}

void LockstepPlatform::Wait(std::chrono::microseconds span)
{
    if (pumps_ < loadingPumps || sincePump_ != "S") {
        Diverge("waited " + std::to_string(span.count()) + " us after '" + sincePump_ + "' at pump " +
                std::to_string(pumps_));
    }
    if (span != expected_.wait) {
        Diverge("pass " + std::to_string(passes_) + " waited " + std::to_string(span.count()) +
                " us; model waits " + std::to_string(expected_.wait.count()) + " us");
    }
    sincePump_ += 'W';
}

void LockstepPlatform::CheckLoadedSlot(int slot)
{
    const int holder = HolderOf(engine_.pics[static_cast<std::size_t>(slot)]);
    if (holder != slot + 1) {
        Diverge("at pump " + std::to_string(pumps_ + 1) + " slot " + std::to_string(slot) + " holds holder " +
                std::to_string(holder) + "; expected holder " + std::to_string(slot + 1));
    }
}

void LockstepPlatform::CheckState()
{
    const ModelState seen = FieldsOf(engine_);
    const bool started = passes_ > 0;
    if (seen.l < 0 || seen.l > 17 || seen.hl < 0 || seen.hl > 2 || seen.nm < 0 || seen.nm > 1 ||
        (started && seen.updo != 1 && seen.updo != -1)) {
        Diverge("a field is out of its range");
    }
    if (seen != model_) {
        Diverge("the state after pass " + std::to_string(passes_) + " differs from the model's");
    }
}

void LockstepPlatform::PumpEvents()
{
    if (modelEnd_) {
        Diverge("pumped events after the program ended");
    }
    const int pump = pumps_ + 1;
    const char* wanted = pump == 1 ? "S" : pump <= loadingPumps ? "" : "SW";
    if (sincePump_ != wanted) {
        Diverge("before pump " + std::to_string(pump) + " saw '" + sincePump_ + "'; expected '" + wanted + "'");
    }
    if (pump <= loadingPumps) {
        if (pump == 1) {
            CheckLoadedSlot(0);
        }
        CheckLoadedSlot(pump);
    }
    CheckState();
    pumps_ = pump;
    sincePump_.clear();
    if (pump > script_.pumps) {
        throw RunStopped{};
    }
    Deliver(pump);
}

Outcome LockstepPlatform::ApplyToModel(const Call& call)
{
    switch (call.kind) {
    case Call::Kind::key:
        return Key(model_, call.code);
    case Call::Kind::move:
        return Move(model_, call.x, call.y);
    case Call::Kind::click:
        Click(model_);
        return Outcome::carryOn;
    case Call::Kind::doubleClick:
        return DoubleClick();
    }
    return Outcome::carryOn;
}

void LockstepPlatform::ApplyToEngine(const Call& call)
{
    switch (call.kind) {
    case Call::Kind::key: {
        std::int16_t keyAscii = call.code;
        Picture1_KeyPress(engine_, *this, keyAscii);
        break;
    }
    case Call::Kind::move:
        Picture1_MouseMove(engine_, *this, call.button, call.shift, call.x, call.y);
        break;
    case Call::Kind::click:
        Picture1_Click(engine_);
        break;
    case Call::Kind::doubleClick:
        Picture1_DblClick(*this);
        break;
    }
}

void LockstepPlatform::Deliver(int pump)
{
    while (next_ < script_.calls.size() && script_.calls[next_].pump == pump) {
        const Call& call = script_.calls[next_++];
        const Outcome expected = ApplyToModel(call);
        try {
            ApplyToEngine(call);
        } catch (const ProgramLeft& left) {
            const bool agrees = expected == (left.byError ? Outcome::raiseError : Outcome::endProgram);
            if (!agrees) {
                Diverge("the engine ended the program (" + std::string(left.byError ? "error: " + left.what : "normally") +
                        ") on " + Describe(call));
            }
            modelEnd_ = expected;
            throw;
        }
        if (expected != Outcome::carryOn) {
            Diverge("the engine carried on after " + Describe(call));
        }
    }
    // Checked here as well as after the pass, so a handler's fault is told from the loop's.
    if (FieldsOf(engine_) != model_) {
        Diverge("the state after the calls of pump " + std::to_string(pump) + " differs from the model's");
    }
}

void LockstepPlatform::EndProgram()
{
    throw ProgramLeft{false, {}};
}

void LockstepPlatform::RaiseError(std::string_view what)
{
    // The only error the model foresees outside a handler is a slot outside the table, which
    // the show stage would report before anything is shown in that pass.
    if (!modelEnd_ && pumps_ >= loadingPumps && sincePump_.empty()) {
        ModelState next = model_;
        if (passes_ == 0) {
            StartUp(next);
        }
        if (!Pass(next).slot) {
            model_ = next;
            ++passes_;
            modelEnd_ = Outcome::raiseError;
        }
    }
    throw ProgramLeft{true, std::string(what)};
}

void LockstepPlatform::Finished(const std::optional<ProgramLeft>& left, const std::string& otherwise)
{
    if (divergence_) {
        return;
    }
    try {
        if (!otherwise.empty()) {
            Diverge("the loop was left by " + otherwise);
        }
        if (left && !modelEnd_) {
            Diverge(left->byError ? "the engine raised an error: " + left->what : "the engine ended on its own");
        }
        if (!left && modelEnd_) {
            Diverge("the engine did not end the program");
        }
        if (next_ != script_.calls.size()) {
            Diverge("only " + std::to_string(next_) + " of " + std::to_string(script_.calls.size()) +
                    " calls were delivered");
        }
    } catch (const RunStopped&) {
        return;
    }
}

}  // namespace qex::model
