#pragma once

#include "engine/picture.h"

#include <chrono>
#include <string_view>

namespace qex {

// The two ways the program ends; both never return to the caller.
class Lifetime {
public:
    virtual ~Lifetime() = default;
    // Ends the program at once, successfully; nothing of the program's own runs afterwards.
    [[noreturn]] virtual void EndProgram() = 0;
    // The default error report: one line naming the fault, then the program ends with a failure status.
    [[noreturn]] virtual void RaiseError(std::string_view what) = 0;
};

// What the play loop needs of the window system.
class Platform : public Lifetime {
public:
    // Shared handle to the picture of holder 1..54.
    virtual PictureRef PictureOf(int holder) = 0;
    // Replaces the shown picture; it is on screen no later than the end of the next pump.
    virtual void ShowPicture(const PictureRef& picture) = 0;
    // Delivers every waiting event to its handler, then returns.
    virtual void PumpEvents() = 0;
    // Lets the given time pass without using the processor, delivering events as they arrive.
    virtual void Wait(std::chrono::microseconds span) = 0;
};

}  // namespace qex
