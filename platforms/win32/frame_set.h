#pragma once

#include "engine/picture.h"
#include "frames/numbering.h"

#include <windows.h>

#include <array>
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
class FrameSet {
public:
    // A missing or malformed bitmap leaves that holder null (see isComplete).
    FrameSet();
    bool isComplete() const;
    // Shared handle to picture 1..54; the caller checks the range.
    PictureRef PictureOf(int holder) const;

private:
    std::array<std::shared_ptr<const FramePicture>, frameCount> holders_;
};

}  // namespace qex::frames
