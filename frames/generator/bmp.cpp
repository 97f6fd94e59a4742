#include "bmp.h"

namespace framegen {
namespace {

constexpr std::uint32_t rowBytes = (pictureWidth + 31) / 32 * 4;
constexpr std::uint32_t pixelBytes = rowBytes * pictureHeight;
constexpr std::uint32_t pixelOffset = 14 + 40 + 2 * 4;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xff));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const Canvas& canvas)
{
    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    put32(out, pixelOffset + pixelBytes);
    put16(out, 0);
    put16(out, 0);
    put32(out, pixelOffset);

    put32(out, 40);
    put32(out, pictureWidth);
    put32(out, pictureHeight);  // positive: bottom row first
    put16(out, 1);              // planes
    put16(out, 1);              // bits per pixel
    put32(out, 0);              // no compression
    put32(out, pixelBytes);
    put32(out, 0);  // horizontal resolution
    put32(out, 0);  // vertical resolution
    put32(out, 0);  // colours used: all two
    put32(out, 0);  // colours important: all

    for (std::uint8_t level : {0, 255}) {
        out.insert(out.end(), {level, level, level, 0});
    }

    for (int y = pictureHeight - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(rowBytes, 0);
        for (int x = 0; x < pictureWidth; ++x) {
            if (canvas.at(x, y) == Canvas::white)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace framegen
