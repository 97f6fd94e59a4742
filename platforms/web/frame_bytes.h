#pragma once

namespace qex::frames {

inline constexpr int bitmapFileSize = 17882;  // bytes of each committed frame bitmap

// The committed bitmap file of holder 1..54, exactly as it is on disk; the caller checks the range.
const unsigned char* bitmapFile(int holder);

}  // namespace qex::frames
