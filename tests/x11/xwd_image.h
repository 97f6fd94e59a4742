#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qex::x11test {

// A window's pixels as 0xRRGGBB, row by row.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Decodes the output of `xwd` for a TrueColor window (ZPixmap, 24 or 32 bits per pixel);
// throws on anything else.
Screenshot parseXwd(const std::string& data);

}  // namespace qex::x11test
