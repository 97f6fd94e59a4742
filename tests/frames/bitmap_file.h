#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Raw access to one committed frame bitmap, read without any image library so
// the tests see exactly the bytes that ship.
class BitmapFile {
public:
    static constexpr int width = 345;
    static constexpr int height = 405;
    static constexpr int rowBytes = 44;
    static constexpr int frameCount = 54;
    static constexpr int positionsPerLift = 18;

    // Holder 1..54; a missing file gives an empty byte vector.
    static const BitmapFile& holder(int number);
    // Holder of position 0..17 of lift 1..3.
    static const BitmapFile& frame(int lift, int position);

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::string name() const { return name_; }

    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    std::int32_t i32(std::size_t offset) const { return static_cast<std::int32_t>(u32(offset)); }

    // Palette index of the pixel at column x of row y, row 0 being the top.
    int index(int x, int y) const;
    // Whether that pixel's palette colour is black.
    bool isBlack(int x, int y) const;
    // Pixels that differ between two frames.
    int differingPixels(const BitmapFile& other) const;

private:
    std::string name_;
    std::vector<std::uint8_t> bytes_;
};
