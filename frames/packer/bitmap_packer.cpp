#include "frames/packer/bitmap_packer.h"

#include <array>
#include <cstddef>

namespace qex::frames {
namespace {

constexpr std::size_t fileSize = 17882;     // bytes
constexpr std::size_t pixelOffset = 62;     // bytes: both headers and the two-entry palette
constexpr std::size_t sourceRowBytes = 44;  // the file's rows are padded to 32 bits too

std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint8_t reversed(std::uint8_t b)
{
    b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

PackedBitmap refused(std::string why)
{
    return {{}, std::move(why)};
}

}  // namespace

PackedBitmap packBitmap(std::span<const std::uint8_t> file)
{
    if (file.size() != fileSize) {
        return refused("is " + std::to_string(file.size()) + " bytes, not " + std::to_string(fileSize));
    }
    struct Field {
        const char* name;
        std::size_t at;
        int width;  // bytes
        std::uint32_t expected;
    };
    static constexpr std::array<Field, 16> fields{{
        {"signature", 0, 2, 0x4D42},
        {"file size", 2, 4, fileSize},
        {"reserved words", 6, 4, 0},
        {"pixel offset", 10, 4, pixelOffset},
        {"info header size", 14, 4, 40},
        {"width", 18, 4, packedWidth},
        {"height", 22, 4, packedHeight},
        {"planes", 26, 2, 1},
        {"bits per pixel", 28, 2, 1},
        {"compression", 30, 4, 0},
        {"pixel data size", 34, 4, sourceRowBytes * packedHeight},
        {"horizontal resolution", 38, 4, 0},
        {"vertical resolution", 42, 4, 0},
        {"colours used", 46, 4, 0},
        {"palette entry 0 (black)", 54, 4, 0x00000000},
        {"palette entry 1 (white)", 58, 4, 0x00FFFFFF},
    }};
    for (const Field& field : fields) {
        const std::uint32_t value = field.width == 2 ? u16(file, field.at) : u32(file, field.at);
        if (value != field.expected) {
            return refused("has " + std::string(field.name) + " " + std::to_string(value) + ", not " +
                           std::to_string(field.expected));
        }
    }
    if (u32(file, 50) != 0) {
        return refused("names important colours");
    }
    PackedBitmap packed;
    packed.rows.resize(static_cast<std::size_t>(packedRowBytes) * packedHeight);
    // The last byte of a row holds one picture pixel; the other seven bits are padding.
    constexpr std::size_t usedBytes = (packedWidth + 7) / 8;
    constexpr auto lastByteMask = static_cast<std::uint8_t>(0xFF << (usedBytes * 8 - packedWidth));
    for (int y = 0; y < packedHeight; ++y) {
        const auto source = file.subspan(pixelOffset + sourceRowBytes * static_cast<std::size_t>(packedHeight - 1 - y),
                                         sourceRowBytes);
        auto* to = packed.rows.data() + static_cast<std::size_t>(packedRowBytes) * static_cast<std::size_t>(y);
        for (std::size_t i = 0; i < usedBytes; ++i) {
            const auto bits = static_cast<std::uint8_t>(i + 1 == usedBytes ? source[i] & lastByteMask : source[i]);
            to[i] = reversed(bits);
        }
    }
    return packed;
}

}  // namespace qex::frames
