#pragma once

#include "engine/picture.h"
#include "frames/numbering.h"

#include <array>
#include <memory>

namespace qex::frames {

// The 54 built-in pictures by holder, as one window system holds its decoded frames; a holder
// whose bitmap could not be decoded stays null.
template <class Frame>
class PictureTable {
public:
    using FrameType = Frame;

    bool isComplete() const
    {
        for (const auto& picture : holders_) {
            if (!picture) {
                return false;
            }
        }
        return true;
    }

    // Shared handle to picture 1..54; the caller checks the range.
    PictureRef PictureOf(int holder) const { return frameOf(holder); }
    // The same, as the window system's own frame.
    const std::shared_ptr<const Frame>& frameOf(int holder) const
    {
        return holders_[static_cast<std::size_t>(slotOfHolder(holder))];
    }

protected:
    void hold(int holder, std::shared_ptr<const Frame> picture)
    {
        holders_[static_cast<std::size_t>(slotOfHolder(holder))] = std::move(picture);
    }

private:
    std::array<std::shared_ptr<const Frame>, frameCount> holders_;
};

}  // namespace qex::frames
