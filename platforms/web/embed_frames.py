"""Writes the 54 frame bitmaps, in holder order, as one gzip stream in a C++ array.

usage: embed_frames.py OUTPUT.cpp BITMAP...
The browser inflates the stream itself (DecompressionStream); one stream rather than one per
frame lets each frame's bytes refer back to the frame before it, which is most of the saving.
"""
import gzip, sys

output, bitmaps = sys.argv[1], sys.argv[2:]
files = [open(path, "rb").read() for path in bitmaps]
for path, data in zip(bitmaps, files):
    if len(data) != len(files[0]):
        sys.exit("%s has %d bytes, the first bitmap %d" % (path, len(data), len(files[0])))
# mtime 0: the same bitmaps give the same bytes, build after build.
packed = gzip.compress(b"".join(files), 9, mtime=0)
rows = ",\n".join("    " + ",".join(str(b) for b in packed[i:i + 32]) for i in range(0, len(packed), 32))
with open(output, "w") as f:
    f.write("""// Generated from the committed frame bitmaps; do not edit.
#include "platforms/web/frame_bytes.h"

namespace qex::frames {

static_assert(%d == bitmapFileSize * frameCount);
const unsigned char packedBitmaps[] = {
%s};
const int packedBitmapsSize = %d;

}  // namespace qex::frames
""" % (len(files[0]) * len(files), rows, len(packed)))
