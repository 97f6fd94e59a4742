#include "bitmap_file.h"
#include "frames/packer/bitmap_packer.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace {

using qex::frames::packBitmap;

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Packed pixel (x, y): set means white.
bool packedWhite(const std::vector<std::uint8_t>& rows, int x, int y)
{
    const std::uint8_t byte = rows[static_cast<std::size_t>(y * qex::frames::packedRowBytes + x / 8)];
    return (byte >> (x % 8)) & 1;
}

TEST(FramePacker, PacksEveryCommittedFramePixelForPixelWithClearPadding)
{
    for (int holder = 1; holder <= BitmapFile::frameCount; ++holder) {
        const BitmapFile& file = BitmapFile::holder(holder);
        const auto packed = packBitmap(file.bytes());
        ASSERT_EQ(packed.refusal, "") << file.name();
        ASSERT_EQ(packed.rows.size(), 44u * 405u);
        for (int y = 0; y < BitmapFile::height; ++y) {
            for (int x = 0; x < BitmapFile::width; ++x) {
                ASSERT_EQ(packedWhite(packed.rows, x, y), !file.isBlack(x, y)) << file.name() << " at " << x << "," << y;
            }
            for (int x = BitmapFile::width; x < 44 * 8; ++x) {
                ASSERT_FALSE(packedWhite(packed.rows, x, y)) << "padding bit " << x << " of row " << y;
            }
        }
    }
}

TEST(FramePacker, RefusesAnythingButTheExactFrameFormat)
{
    const std::vector<std::uint8_t> good = BitmapFile::holder(1).bytes();
    ASSERT_EQ(packBitmap(good).refusal, "");

    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"top-down rows (negative height)", 22, static_cast<std::uint32_t>(-405)},
        {"another width of the same byte size", 18, 340},
        {"4 bits per pixel", 28, 4},
        {"run-length compression", 30, 1},
        {"palette white then black", 54, 0x00FFFFFF},
        {"a grey for white", 58, 0x00808080},
        {"a larger pixel offset", 10, 66},
    };
    for (const Case& c : cases) {
        auto bad = good;
        if (c.at == 28) {
            bad[28] = static_cast<std::uint8_t>(c.value);
        } else {
            put32(bad, c.at, c.value);
        }
        EXPECT_NE(packBitmap(bad).refusal, "") << c.what;
        EXPECT_TRUE(packBitmap(bad).rows.empty()) << c.what;
    }
    EXPECT_NE(packBitmap({}).refusal, "") << "an empty file";
    EXPECT_NE(packBitmap(std::vector<std::uint8_t>(good.begin(), good.end() - 1)).refusal, "") << "a short file";
    auto png = good;
    png[0] = 0x89;
    png[1] = 'P';
    EXPECT_NE(packBitmap(png).refusal, "") << "another signature";
}

}  // namespace
