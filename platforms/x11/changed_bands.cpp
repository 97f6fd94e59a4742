#include "platforms/x11/changed_bands.h"

#include <algorithm>
#include <cstring>

namespace qex::x11 {

std::size_t changedBands(std::span<const std::uint8_t, frames::packedFrameBytes> from,
                         std::span<const std::uint8_t, frames::packedFrameBytes> to,
                         std::array<xcb_rectangle_t, maxBands>& bands)
{
    constexpr int rowBytes = frames::packedRowBytes;
    constexpr int width = frames::packedWidth;
    constexpr int height = frames::packedHeight;
    std::size_t count = 0;
    for (int top = 0; top < height; top += bandRows) {
        const int bottom = std::min(height, top + bandRows);
        int first = rowBytes;
        int last = -1;
        for (int y = top; y < bottom; ++y) {
            // The padding bits are clear in every frame, so whole bytes compare.
            const std::uint8_t* a = from.data() + static_cast<std::size_t>(y) * rowBytes;
            const std::uint8_t* b = to.data() + static_cast<std::size_t>(y) * rowBytes;
            if (std::memcmp(a, b, rowBytes) == 0) {
                continue;
            }
            int i = 0;
            while (i < first && a[i] == b[i]) ++i;
            first = std::min(first, i);
            int j = rowBytes - 1;
            while (j > last && a[j] == b[j]) --j;
            last = std::max(last, j);
        }
        if (last >= first) {
            const int left = first * 8;
            const int right = std::min(width, (last + 1) * 8);
            bands[count++] = {static_cast<std::int16_t>(left), static_cast<std::int16_t>(top),
                              static_cast<std::uint16_t>(right - left), static_cast<std::uint16_t>(bottom - top)};
        }
    }
    return count;
}

}  // namespace qex::x11
