#include "platforms/x11/frame_set.h"

#include <memory>

namespace qex::frames {

FrameSet::FrameSet()
{
    for (int holder = 1; holder <= frameCount; ++holder) {
        hold(holder, std::make_shared<const FramePicture>(holder, packedFrame(holder)));
    }
}

}  // namespace qex::frames
