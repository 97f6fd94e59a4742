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

// The 54 built-in pictures, decoded by the browser while the loop's start-up fills its table,
// so the first is on screen as soon as it alone is decoded.
class WebFrameSet {
public:
    // Hands the embedded bitmaps to the browser to inflate and decode.
    WebFrameSet();
    // Shared handle to picture 1..54, suspending until it is decoded; null if it cannot be.
    // The caller checks the range.
    PictureRef PictureOf(int holder) const;

private:
    std::array<std::shared_ptr<const WebPicture>, frameCount> holders_;
};

}  // namespace qex::frames
