#include "bitmap_file.h"

#include <array>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr std::size_t pixelOffset = 62;

std::string fileName(int holder)
{
    return std::string("image") + (holder < 10 ? "0" : "") + std::to_string(holder) + ".bmp";
}

}  // namespace

const BitmapFile& BitmapFile::holder(int number)
{
    static const auto all = [] {
        auto files = std::make_unique<std::array<BitmapFile, frameCount>>();
        for (int n = 1; n <= frameCount; ++n) {
            BitmapFile& f = (*files)[n - 1];
            f.name_ = fileName(n);
            std::ifstream in(std::string(QEX_BITMAP_DIR) + "/" + f.name_, std::ios::binary);
            f.bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return files;
    }();
    return (*all)[number - 1];
}

const BitmapFile& BitmapFile::frame(int lift, int position)
{
    return holder(position + 1 + positionsPerLift * (lift - 1));
}

std::uint16_t BitmapFile::u16(std::size_t offset) const
{
    if (offset + 2 > bytes_.size())
        return 0;
    return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

std::uint32_t BitmapFile::u32(std::size_t offset) const
{
    return u16(offset) | static_cast<std::uint32_t>(u16(offset + 2)) << 16;
}

int BitmapFile::index(int x, int y) const
{
    const std::size_t at = pixelOffset + static_cast<std::size_t>(height - 1 - y) * rowBytes + x / 8;
    if (at >= bytes_.size())
        return -1;
    return (bytes_[at] >> (7 - x % 8)) & 1;
}

bool BitmapFile::isBlack(int x, int y) const
{
    const int i = index(x, y);
    if (i < 0)
        return false;
    const std::size_t entry = 54 + 4 * static_cast<std::size_t>(i);
    return bytes_[entry] == 0 && bytes_[entry + 1] == 0 && bytes_[entry + 2] == 0;
}

int BitmapFile::differingPixels(const BitmapFile& other) const
{
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            count += index(x, y) != other.index(x, y);
    return count;
}
