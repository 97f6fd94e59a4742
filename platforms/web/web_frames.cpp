#include "platforms/web/web_frames.h"

#include "platforms/web/frame_bytes.h"
#include "platforms/web/page.h"

namespace qex::frames {

WebFrameSet::WebFrameSet()
{
    for (int holder = 1; holder <= frameCount; ++holder) {
        holders_[static_cast<std::size_t>(holder - 1)] = std::make_shared<const WebPicture>(holder);
    }
    qex_page_decode_frames(packedBitmaps, packedBitmapsSize, bitmapFileSize, frameCount);
}

PictureRef WebFrameSet::PictureOf(int holder) const
{
    if (!qex_page_await_frame(holder)) {
        return nullptr;
    }
    return holders_[static_cast<std::size_t>(holder - 1)];
}

}  // namespace qex::frames
