#include "platforms/qt/x_formats.h"

#include <bit>

namespace qex {

bool bitmapLayout(const xcb_setup_t& setup, BitmapLayout& layout)
{
    const int unit = setup.bitmap_format_scanline_unit;
    const int pad = setup.bitmap_format_scanline_pad;
    if (unit != 8 && setup.bitmap_format_bit_order != setup.image_byte_order) {
        return false;
    }
    if (pad < 8 || pad % 8 != 0) {
        return false;
    }
    layout.leftmostInLowBit = setup.bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    layout.rowPad = pad;
    return true;
}

std::uint32_t pixelOf(QRgb colour, const xcb_visualtype_t& visual)
{
    const auto channel = [](int value, std::uint32_t mask) -> std::uint32_t {
        if (mask == 0) {
            return 0;
        }
        const int shift = std::countr_zero(mask);
        const std::uint32_t top = mask >> shift;
        return ((static_cast<std::uint32_t>(value) * top + 127) / 255) << shift;
    };
    return channel(qRed(colour), visual.red_mask) | channel(qGreen(colour), visual.green_mask) |
           channel(qBlue(colour), visual.blue_mask);
}

std::uint8_t reversedBits(std::uint8_t b)
{
    b = static_cast<std::uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<std::uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    return static_cast<std::uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
}

const xcb_visualtype_t* findVisual(const xcb_setup_t& setup, xcb_visualid_t id)
{
    for (auto screens = xcb_setup_roots_iterator(&setup); screens.rem; xcb_screen_next(&screens)) {
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem;
             xcb_depth_next(&depths)) {
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
                 xcb_visualtype_next(&visuals)) {
                if (visuals.data->visual_id == id) {
                    return visuals.data;
                }
            }
        }
    }
    return nullptr;
}

}  // namespace qex
