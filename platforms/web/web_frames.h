#pragma once

#include "engine/picture.h"
#include "frames/numbering.h"

#include <array>
#include <memory>

namespace qex::frames {

// A frame as the page holds it: the browser keeps the decoded bitmap, this names which one.
class WebPicture final : public Picture {
public:
    explicit WebPicture(int holder) : holder_(holder) {}
    int holder() const { return holder_; }

private:
    int holder_;
};

// The 54 built-in pictures, decoded by the browser before the loop starts.
class WebFrameSet {
public:
    // Suspends until the browser has decoded every embedded bitmap.
    WebFrameSet();
    bool isComplete() const { return complete_; }
    // Shared handle to picture 1..54; the caller checks the range.
    PictureRef PictureOf(int holder) const { return holders_[static_cast<std::size_t>(holder - 1)]; }

private:
    std::array<std::shared_ptr<const WebPicture>, frameCount> holders_;
    bool complete_ = false;
};

}  // namespace qex::frames
