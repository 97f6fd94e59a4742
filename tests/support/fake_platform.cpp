#include "tests/support/fake_platform.h"

#include "frames/numbering.h"

namespace qex::testing {

PictureRef FakePlatform::PictureOf(int holder)
{
    ++pictureRequests;
    auto& picture = pictures_[holder];
    if (!picture) {
        picture = std::make_shared<const FakePicture>(holder);
    }
    return picture;
}

void FakePlatform::ShowPicture(const PictureRef& picture)
{
    const auto* fake = dynamic_cast<const FakePicture*>(picture.get());
    if (fake == nullptr) {
        RaiseError("shown a slot that holds no picture");
    }
    shownHolders.push_back(fake->holder);
}

void FakePlatform::PumpEvents()
{
    ++pumps;
    if (auto due = actions_.find(pumps); due != actions_.end()) {
        for (auto& action : due->second) {
            action();
        }
    }
    if (pumps >= pumpLimit) {
        EndProgram();
    }
}

void FakePlatform::Wait(std::chrono::microseconds span)
{
    waits.push_back(span);
}

void FakePlatform::EndProgram()
{
    throw ProgramEnded{false, {}};
}

void FakePlatform::RaiseError(std::string_view what)
{
    throw ProgramEnded{true, std::string(what)};
}

ProgramEnded RunProgram(PlayerState& state, FakePlatform& platform)
{
    try {
        Form_Activate(state, platform);
    } catch (const ProgramEnded& ended) {
        return ended;
    }
}

std::vector<int> PassPositions(const FakePlatform& platform)
{
    std::vector<int> positions;
    for (std::size_t i = 1; i < platform.shownHolders.size(); ++i) {
        positions.push_back(frames::slotOfHolder(platform.shownHolders[i]) % frames::framesPerLift);
    }
    return positions;
}

std::vector<int> PassLifts(const FakePlatform& platform)
{
    std::vector<int> lifts;
    for (std::size_t i = 1; i < platform.shownHolders.size(); ++i) {
        lifts.push_back(frames::slotOfHolder(platform.shownHolders[i]) / frames::framesPerLift);
    }
    return lifts;
}

}  // namespace qex::testing
