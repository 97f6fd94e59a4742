#pragma once

#include "platforms/picture_table.h"

#include <windows.h>

#include <memory>

namespace qex::frames {

inline constexpr int frameWidth = 345;   // pixels
inline constexpr int frameHeight = 405;  // pixels

// A frame as the window holds it: the packed 1-bit DIB inside the program's own resource,
// drawn as it is; the resource stays mapped for the life of the process.
class FramePicture final : public Picture {
public:
    FramePicture(const BITMAPINFO* info, const void* bits) : info_(info), bits_(bits) {}
    const BITMAPINFO* info() const { return info_; }
    const void* bits() const { return bits_; }

private:
    const BITMAPINFO* info_;
    const void* bits_;
};

// The 54 built-in pictures, found once among the program's RCDATA resources 1..54.
class FrameSet final : public PictureTable<FramePicture> {
public:
    // A missing or malformed bitmap leaves that holder null (see isComplete).
    FrameSet();
};

}  // namespace qex::frames
