#include "frame_library.h"

#include <QImage>
#include <QString>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace qex::x11test {

const FrameLibrary& FrameLibrary::instance()
{
    static const FrameLibrary library;
    return library;
}

FrameLibrary::FrameLibrary()
{
    for (int holder = 1; holder <= holderCount; ++holder) {
        char name[32];
        std::snprintf(name, sizeof name, "/image%02d.bmp", holder);
        const std::string path = std::string(QEX_BITMAP_DIR) + name;
        const QImage image(QString::fromStdString(path), "BMP");
        if (image.isNull() || image.width() != frameWidth || image.height() != frameHeight) {
            throw std::runtime_error("cannot decode a 345 x 405 bitmap from " + path);
        }
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        auto& pixels = frames_[static_cast<std::size_t>(holder - 1)];
        pixels.reserve(static_cast<std::size_t>(frameWidth * frameHeight));
        for (int y = 0; y < frameHeight; ++y) {
            for (int x = 0; x < frameWidth; ++x) {
                pixels.push_back(rgb.pixel(x, y) & 0xFFFFFFu);
            }
        }
    }
}

int FrameLibrary::identify(const Screenshot& shot, int scale) const
{
    for (int holder = 1; holder <= holderCount; ++holder) {
        if (matches(holder, shot, scale)) {
            return holder;
        }
    }
    return 0;
}

bool FrameLibrary::matches(int holder, const Screenshot& shot, int scale) const
{
    const int origin = borderWidth * scale;
    if (shot.width < origin + frameWidth * scale || shot.height < origin + frameHeight * scale) {
        return false;
    }
    const auto& frame = frames_[static_cast<std::size_t>(holder - 1)];
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const std::uint32_t expected = frame[static_cast<std::size_t>(y * frameWidth + x)];
            for (int dy = 0; dy < scale; ++dy) {
                for (int dx = 0; dx < scale; ++dx) {
                    if (shot.at(origin + x * scale + dx, origin + y * scale + dy) != expected) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

}  // namespace qex::x11test
