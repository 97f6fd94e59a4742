#pragma once

#include "frames/packed_frames.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace qex {

// A rectangle of the picture, in frame pixels.
struct FrameArea {
    int x;
    int y;
    int width;
    int height;
};

namespace changed_areas_detail {

constexpr int rowBytes = frames::packedRowBytes;
static_assert(rowBytes <= 60, "a row's changed bytes fit a 64-bit mask with room for the gap test");
// Unchanged bytes that split a row's change in two. Fewer cost the X server more in rectangles
// than they save in pixels to expand; more expand too many unchanged pixels (measured on Xvfb).
constexpr int splitGap = 4;
constexpr std::size_t maxSpans = (rowBytes + splitGap) / (splitGap + 1);

// Bit i set where byte i of the two words differs.
template <class Word>
std::uint64_t changedBytes(const std::uint8_t* from, const std::uint8_t* to)
{
    Word a;
    Word b;
    std::memcpy(&a, from, sizeof a);
    std::memcpy(&b, to, sizeof b);
    std::uint64_t x = a ^ b;
    if constexpr (std::endian::native == std::endian::big) {
        x = __builtin_bswap64(x) >> (64 - 8 * sizeof(Word));
    }
    // The top bit of each byte that is not zero, gathered into the low 8 bits.
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
    const std::uint64_t top = (((x & low7) + low7) | x) & ~low7;
    return (top >> 7) * 0x0102040810204080ULL >> 56;
}

// Bit i set where byte i of the two rows differs, found a word at a time.
inline std::uint64_t changedBytes(const std::uint8_t* from, const std::uint8_t* to)
{
    static_assert(rowBytes % 8 == 4, "rows of whole 64-bit words and a 32-bit one");
    std::uint64_t mask = 0;
    for (int at = 0; at < rowBytes - 4; at += 8) {
        mask |= changedBytes<std::uint64_t>(from + at, to + at) << at;
    }
    return mask | changedBytes<std::uint32_t>(from + rowBytes - 4, to + rowBytes - 4) << (rowBytes - 4);
}

struct RowSpans {
    std::array<std::uint64_t, maxSpans> spans{};  // each a mask of its bytes
    std::size_t count = 0;

    bool operator==(const RowSpans& other) const
    {
        return count == other.count && std::equal(spans.begin(), spans.begin() + count, other.spans.begin());
    }
};

inline RowSpans rowSpans(std::uint64_t changed)
{
    RowSpans row;
    // Bit i set where bytes i .. i + splitGap - 1 are all unchanged; always set past the row.
    std::uint64_t gaps = ~changed;
    for (int i = 1; i < splitGap; ++i) gaps &= ~changed >> i;
    while (changed) {
        const int first = std::countr_zero(changed);
        const int end = std::countr_zero(gaps >> first << first);
        const std::uint64_t span = (std::uint64_t{1} << end) - (std::uint64_t{1} << first);
        row.spans[row.count++] = span;
        changed &= ~span;
    }
    return row;
}

}  // namespace changed_areas_detail

// Rectangles that together cover every pixel where two packed frames differ and little else:
// each row's changes to whole bytes, split where a few bytes are unchanged, and rows alike
// merged. They come in X's YX-banded order: bands of equal top and height, top to bottom,
// rectangles left to right within a band, none overlapping. Empty when the frames are equal.
inline void changedAreas(std::span<const std::uint8_t, frames::packedFrameBytes> from,
                         std::span<const std::uint8_t, frames::packedFrameBytes> to, std::vector<FrameArea>& areas)
{
    using namespace changed_areas_detail;
    areas.clear();
    RowSpans band;
    std::size_t bandStart = 0;
    for (int y = 0; y < frames::packedHeight; ++y) {
        const auto at = static_cast<std::size_t>(y) * rowBytes;
        const RowSpans row = rowSpans(changedBytes(from.data() + at, to.data() + at));
        if (row.count != 0 && row == band) {
            for (std::size_t i = bandStart; i < areas.size(); ++i) ++areas[i].height;
            continue;
        }
        band = row;
        bandStart = areas.size();
        for (std::size_t i = 0; i < row.count; ++i) {
            const int left = std::countr_zero(row.spans[i]) * 8;
            const int right = std::min(frames::packedWidth, (64 - std::countl_zero(row.spans[i])) * 8);
            areas.push_back({left, y, right - left, 1});
        }
    }
}

// The smallest rectangle holding all of the areas, given at least one.
inline FrameArea boundsOf(std::span<const FrameArea> areas)
{
    int left = areas.front().x, top = areas.front().y, right = left, bottom = top;
    for (const FrameArea& area : areas) {
        left = std::min(left, area.x);
        top = std::min(top, area.y);
        right = std::max(right, area.x + area.width);
        bottom = std::max(bottom, area.y + area.height);
    }
    return {left, top, right - left, bottom - top};
}

// The smallest rectangle holding every pixel where two packed frames differ, to whole bytes
// across; none when the frames are equal. The bounds of their changed areas, found directly.
inline std::optional<FrameArea> changedBounds(std::span<const std::uint8_t, frames::packedFrameBytes> from,
                                              std::span<const std::uint8_t, frames::packedFrameBytes> to)
{
    using namespace changed_areas_detail;
    std::uint64_t columns = 0;
    int top = -1;
    int bottom = 0;
    for (int y = 0; y < frames::packedHeight; ++y) {
        const auto at = static_cast<std::size_t>(y) * rowBytes;
        if (const std::uint64_t changed = changedBytes(from.data() + at, to.data() + at)) {
            columns |= changed;
            top = top < 0 ? y : top;
            bottom = y + 1;
        }
    }
    if (top < 0) {
        return std::nullopt;
    }
    const int left = std::countr_zero(columns) * 8;
    const int right = std::min(frames::packedWidth, (64 - std::countl_zero(columns)) * 8);
    return FrameArea{left, top, right - left, bottom - top};
}

}  // namespace qex
