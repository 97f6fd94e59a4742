#pragma once

#include "platforms/picture_table.h"

namespace qex::frames {

// A frame as the Wayland window names it: the holder whose pixels the surface's shared-memory
// buffers hold, expanded at the output's scale.
class FramePicture final : public Picture {
public:
    explicit FramePicture(int holder) : holder_(holder) {}
    int holder() const { return holder_; }

private:
    int holder_;
};

// The 54 built-in pictures; their pixels are compiled into the program, so none can be missing.
class FrameSet final : public PictureTable<FramePicture> {
public:
    FrameSet();
};

}  // namespace qex::frames
