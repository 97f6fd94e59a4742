#pragma once

#include "frames/numbering.h"

namespace qex::frames {

inline constexpr int bitmapFileSize = 17882;  // bytes of each committed frame bitmap

// The committed bitmap files of holders 1..54, exactly as on disk, one after the other,
// compressed as one gzip stream.
extern const unsigned char packedBitmaps[];
extern const int packedBitmapsSize;

}  // namespace qex::frames
