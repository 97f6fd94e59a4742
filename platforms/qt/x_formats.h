#pragma once

#include <QColor>
#include <xcb/xcb.h>

#include <cstdint>

namespace qex {

// How the server lays out the rows of a 1-bit image sent to it.
struct BitmapLayout {
    bool leftmostInLowBit = false;
    int rowPad = 8;  // bits

    int rowBytes(int width) const { return (width + rowPad - 1) / rowPad * (rowPad / 8); }
};

// Only layouts where a byte holds eight neighbouring pixels in one order are taken;
// anything stranger is left to the toolkit's drawing.
bool bitmapLayout(const xcb_setup_t& setup, BitmapLayout& layout);

// The pixel value of a colour in a true-colour visual, from its channel masks.
std::uint32_t pixelOf(QRgb colour, const xcb_visualtype_t& visual);

// The byte with its eight bits in the opposite order.
std::uint8_t reversedBits(std::uint8_t b);

// The server's description of visual id, or null when it has none.
const xcb_visualtype_t* findVisual(const xcb_setup_t& setup, xcb_visualid_t id);

}  // namespace qex
