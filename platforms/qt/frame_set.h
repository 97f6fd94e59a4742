#pragma once

#include "engine/picture.h"
#include "frames/numbering.h"

#include <QImage>

#include <array>
#include <memory>

namespace qex::frames {

// A frame as the window holds it: the decoded 345 x 405 monochrome bitmap, never changed.
class FramePicture final : public Picture {
public:
    explicit FramePicture(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

inline constexpr int frameWidth = 345;   // pixels
inline constexpr int frameHeight = 405;  // pixels

// The 54 built-in pictures, decoded once from the program's embedded bitmaps.
class FrameSet {
public:
    // Decodes all 54; a missing or malformed bitmap leaves that holder null (see isComplete).
    FrameSet();
    bool isComplete() const;
    // Shared handle to picture 1..54; the caller checks the range.
    PictureRef PictureOf(int holder) const;

private:
    std::array<std::shared_ptr<const FramePicture>, frameCount> holders_;
};

}  // namespace qex::frames
