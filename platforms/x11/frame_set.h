#pragma once

#include "frames/packed_frames.h"
#include "platforms/picture_table.h"

#include <cstdint>
#include <span>

namespace qex::frames {

// A frame as the window holds it: its packed 1-bit rows inside the program, and its holder,
// by which the surface finds the frame's pixmap on the server.
class FramePicture final : public Picture {
public:
    FramePicture(int holder, std::span<const std::uint8_t, packedFrameBytes> rows) : holder_(holder), rows_(rows) {}
    int holder() const { return holder_; }
    std::span<const std::uint8_t, packedFrameBytes> rows() const { return rows_; }

private:
    int holder_;
    std::span<const std::uint8_t, packedFrameBytes> rows_;
};

// The 54 built-in pictures, as the build packed them.
class FrameSet final : public PictureTable<FramePicture> {
public:
    FrameSet();
};

}  // namespace qex::frames
