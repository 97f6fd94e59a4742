#pragma once

#include <cstdint>
#include <span>

namespace qex::x11 {

// The program's icon in several sizes as _NET_WM_ICON wants it (width, height, then rows of
// 0xAARRGGBB pixels, for each size), made at build time from the committed icon images.
std::span<const std::uint32_t> windowIcon();

}  // namespace qex::x11
