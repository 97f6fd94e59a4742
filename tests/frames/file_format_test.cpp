#include "bitmap_file.h"

#include <gtest/gtest.h>


namespace {

constexpr std::size_t fileSize = 17882;

// Runs `check` on each of the 54 files. A file of the wrong size stops the
// loop there: every offset read from it would be meaningless.
template <class Check>
void forEveryFile(Check check)
{
    for (int n = 1; n <= BitmapFile::frameCount; ++n) {
        const BitmapFile& f = BitmapFile::holder(n);
        SCOPED_TRACE(f.name());
        ASSERT_EQ(f.bytes().size(), fileSize);
        check(f);
    }
}

TEST(FrameFiles, HaveTheExactHeaders)
{
    forEveryFile([](const BitmapFile& f) {
        EXPECT_EQ(f.bytes()[0], 'B');
        EXPECT_EQ(f.bytes()[1], 'M');
        EXPECT_EQ(f.u32(2), fileSize);
        EXPECT_EQ(f.u16(6), 0u);
        EXPECT_EQ(f.u16(8), 0u);
        EXPECT_EQ(f.u32(10), 62u) << "pixel data offset";

        EXPECT_EQ(f.u32(14), 40u) << "info header size";
        EXPECT_EQ(f.i32(18), 345);
        EXPECT_EQ(f.i32(22), 405) << "positive: bottom row stored first";
        EXPECT_EQ(f.u16(26), 1u) << "planes";
        EXPECT_EQ(f.u16(28), 1u) << "bits per pixel";
        EXPECT_EQ(f.u32(30), 0u) << "compression";
        EXPECT_EQ(f.u32(34), 17820u) << "pixel data size";
        EXPECT_EQ(f.i32(38), 0);
        EXPECT_EQ(f.i32(42), 0);
        EXPECT_EQ(f.u32(46), 0u) << "colours used";
        EXPECT_EQ(f.u32(50), 0u) << "colours important";
    });
}

TEST(FrameFiles, PaletteIsBlackThenWhite)
{
    forEveryFile([](const BitmapFile& f) {
        const std::vector<std::uint8_t> palette(f.bytes().begin() + 54, f.bytes().begin() + 62);
        EXPECT_EQ(palette, (std::vector<std::uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
    });
}

TEST(FrameFiles, RowPaddingBitsAreZero)
{
    forEveryFile([](const BitmapFile& f) {
        // 345 pixels fill 43 bytes and one bit; the rest of the 44-byte row is padding.
        for (int row = 0; row < BitmapFile::height; ++row) {
            const std::size_t last = 62 + static_cast<std::size_t>(row) * BitmapFile::rowBytes + 43;
            ASSERT_EQ(f.bytes()[last] & 0x7f, 0) << "stored row " << row;
        }
    });
}

TEST(FrameFiles, HoldBlackLinesOnWhitePaper)
{
    forEveryFile([](const BitmapFile& f) {
        int black = 0;
        for (int y = 0; y < BitmapFile::height; ++y)
            for (int x = 0; x < BitmapFile::width; ++x)
                black += f.isBlack(x, y);
        // Some ink, but far from most of the page: catches blank or inverted pictures.
        EXPECT_GT(black, 2000);
        EXPECT_LT(black, BitmapFile::width * BitmapFile::height / 5);
    });
}

// Pairwise equality rather than an ordered set: it names the pair, and GCC 12 sees a false
// over-read in the set's ordering of byte vectors.
TEST(FrameFiles, AllFiftyFourDiffer)
{
    for (int a = 1; a <= BitmapFile::frameCount; ++a)
        for (int b = a + 1; b <= BitmapFile::frameCount; ++b)
            EXPECT_NE(BitmapFile::holder(a).bytes(), BitmapFile::holder(b).bytes())
                << BitmapFile::holder(a).name() << " equals " << BitmapFile::holder(b).name();
}

}  // namespace
