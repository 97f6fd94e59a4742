#pragma once

#include "platforms/picture_table.h"

#include <QImage>

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
class FrameSet final : public PictureTable<FramePicture> {
public:
    // Decodes all 54; a missing or malformed bitmap leaves that holder null (see isComplete).
    FrameSet();
};

}  // namespace qex::frames
