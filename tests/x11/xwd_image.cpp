#include "xwd_image.h"

#include <bit>
#include <stdexcept>

namespace qex::x11test {
namespace {

// Header fields, in file order; every one is a big-endian CARD32.
enum Field : std::size_t {
    headerSize, fileVersion, pixmapFormat, pixmapDepth, pixmapWidth, pixmapHeight, xOffset,
    byteOrder, bitmapUnit, bitmapBitOrder, bitmapPad, bitsPerPixel, bytesPerLine, visualClass,
    redMask, greenMask, blueMask, bitsPerRgb, colormapEntries, colorCount, fieldCount = 25
};

constexpr std::uint32_t zPixmap = 2;
constexpr std::uint32_t trueColor = 4;
constexpr std::uint32_t directColor = 5;
constexpr std::uint32_t lsbFirst = 0;
constexpr std::size_t colorEntrySize = 12;

std::uint32_t bigEndian32(const std::string& data, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(data[offset + i]);
    }
    return value;
}

// One colour channel of a pixel, scaled to 0..255.
std::uint32_t channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0) {
        return 0;
    }
    const auto value = (pixel & mask) >> std::countr_zero(mask);
    const auto top = (mask >> std::countr_zero(mask));
    return value * 255u / top;
}

}  // namespace

Screenshot parseXwd(const std::string& data)
{
    if (data.size() < fieldCount * 4) {
        throw std::runtime_error("xwd output too short for its header");
    }
    std::uint32_t header[fieldCount];
    for (std::size_t i = 0; i < fieldCount; ++i) {
        header[i] = bigEndian32(data, i * 4);
    }
    if (header[fileVersion] != 7 || header[pixmapFormat] != zPixmap ||
        (header[visualClass] != trueColor && header[visualClass] != directColor)) {
        throw std::runtime_error("xwd output is not a TrueColor ZPixmap dump");
    }
    const std::uint32_t bpp = header[bitsPerPixel];
    if (bpp != 24 && bpp != 32) {
        throw std::runtime_error("unsupported xwd pixel size " + std::to_string(bpp));
    }
    Screenshot shot;
    shot.width = static_cast<int>(header[pixmapWidth]);
    shot.height = static_cast<int>(header[pixmapHeight]);
    const std::size_t stride = header[bytesPerLine];
    const std::size_t bytes = bpp / 8;
    const std::size_t first = header[headerSize] + header[colorCount] * colorEntrySize;
    if (stride < static_cast<std::size_t>(shot.width) * bytes ||
        data.size() < first + stride * static_cast<std::size_t>(shot.height)) {
        throw std::runtime_error("xwd output too short for its pixels");
    }
    // The usual 24-bit TrueColor layout needs no per-channel shifting.
    const bool plainRgb = header[redMask] == 0xFF0000u && header[greenMask] == 0xFF00u && header[blueMask] == 0xFFu;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * static_cast<std::size_t>(shot.height));
    auto out = shot.pixels.begin();
    for (int y = 0; y < shot.height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(data.data() + first + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < shot.width; ++x, row += bytes) {
            std::uint32_t pixel = 0;
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::uint32_t byte = row[i];
                pixel |= header[byteOrder] == lsbFirst ? byte << (8 * i) : byte << (8 * (bytes - 1 - i));
            }
            *out++ = plainRgb ? (pixel & 0xFFFFFFu)
                              : (channel(pixel, header[redMask]) << 16 | channel(pixel, header[greenMask]) << 8 |
                                 channel(pixel, header[blueMask]));
        }
    }
    return shot;
}

}  // namespace qex::x11test
