#include "platforms/web/web_frames.h"

#include "platforms/web/frame_bytes.h"
#include "platforms/web/page.h"

namespace qex::frames {

WebFrameSet::WebFrameSet()
{
    std::array<const unsigned char*, frameCount> files{};
    for (int holder = 1; holder <= frameCount; ++holder) {
        files[static_cast<std::size_t>(holder - 1)] = bitmapFile(holder);
        holders_[static_cast<std::size_t>(holder - 1)] = std::make_shared<const WebPicture>(holder);
    }
    qex_page_decode_frames(files.data(), bitmapFileSize, frameCount);
}

PictureRef WebFrameSet::PictureOf(int holder) const
{
    if (!qex_page_await_frame(holder)) {
        return nullptr;
    }
    return holders_[static_cast<std::size_t>(holder - 1)];
}

}  // namespace qex::frames
