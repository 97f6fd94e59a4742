#include "frame_library.h"

#include <cstdio>
#include <fstream>
#include <iterator>
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
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bmp{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto u32 = [&bmp](std::size_t at) {
            return static_cast<std::uint32_t>(bmp[at] | bmp[at + 1] << 8 | bmp[at + 2] << 16 | bmp[at + 3] << 24);
        };
        // A bottom-up 1-bit bitmap with a two-entry palette right after its 40-byte header.
        constexpr std::size_t paletteAt = 14 + 40;
        constexpr std::size_t rowBytes = (frameWidth + 31) / 32 * 4;
        const bool oneBit = bmp.size() >= paletteAt + 8 && bmp[0] == 'B' && bmp[1] == 'M' && u32(14) == 40 &&
                            u32(18) == frameWidth && u32(22) == frameHeight && (bmp[28] | bmp[29] << 8) == 1;
        if (!oneBit || bmp.size() < u32(10) + rowBytes * frameHeight) {
            throw std::runtime_error("cannot decode a 345 x 405 bitmap from " + path);
        }
        const std::uint32_t palette[2] = {u32(paletteAt) & 0xFFFFFFu, u32(paletteAt + 4) & 0xFFFFFFu};
        auto& pixels = frames_[static_cast<std::size_t>(holder - 1)];
        pixels.reserve(static_cast<std::size_t>(frameWidth * frameHeight));
        for (int y = 0; y < frameHeight; ++y) {
            const std::uint8_t* row = bmp.data() + u32(10) + rowBytes * static_cast<std::size_t>(frameHeight - 1 - y);
            for (int x = 0; x < frameWidth; ++x) {
                pixels.push_back(palette[row[x / 8] >> (7 - x % 8) & 1]);
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
