#include "platforms/x11/frame_pixmaps.h"

#include <algorithm>
#include <cstring>

namespace qex::x11 {
namespace {

constexpr int frameWidth = frames::packedWidth;    // pixels
constexpr int frameHeight = frames::packedHeight;  // pixels

}  // namespace

FramePixmaps::FramePixmaps(const Connection& connection, xcb_window_t window, int scale)
    : connection_(connection), window_(window), scale_(scale)
{
    xcb_connection_t* c = connection.get();
    const xcb_setup_t& setup = *xcb_get_setup(c);
    const int unit = setup.bitmap_format_scanline_unit;
    const int pad = std::max<int>(8, setup.bitmap_format_scanline_pad);
    const int padBytes = pad / 8;
    layout_.lowBitFirst = setup.bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    layout_.unitBytes = std::max(1, unit / 8);
    layout_.swapInUnit = unit > 8 && setup.bitmap_format_bit_order != setup.image_byte_order;
    layout_.rowBytes = (frameWidth * scale + pad - 1) / pad * padBytes;
    // Requests beyond the server's limit would break the connection: uploads go in strips. The
    // core limit (256 KiB) holds a whole frame up to scale 3 and needs no question to the server.
    maxUploadBytes_ = static_cast<std::size_t>(setup.maximum_request_length) * 4 - sizeof(xcb_put_image_request_t);
    stripRows_ = static_cast<int>(std::min<std::size_t>(frameHeight * static_cast<std::size_t>(scale),
                                                        maxUploadBytes_ / static_cast<std::size_t>(layout_.rowBytes)));
    // Where the server's layout is the packed one, the packed rows go up as they are; otherwise
    // each strip is laid out in a buffer first.
    asPacked_ = scale == 1 && layout_.lowBitFirst && !layout_.swapInUnit && layout_.rowBytes == frames::packedRowBytes;
    if (!asPacked_) {
        rows_.resize(static_cast<std::size_t>(stripRows_) * static_cast<std::size_t>(layout_.rowBytes));
    }

}

FramePixmaps::~FramePixmaps()
{
    xcb_connection_t* c = connection_.get();
    if (xcb_connection_has_error(c)) {
        return;
    }
    for (const xcb_pixmap_t pixmap : pixmaps_) {
        if (pixmap) xcb_free_pixmap(c, pixmap);
    }
    if (uploadGc_) xcb_free_gc(c, uploadGc_);
}

void FramePixmaps::fillScaledRows(const frames::FramePicture& frame, int firstRow, int rows)
{
    const auto source = frame.rows();
    const auto rowBytes = static_cast<std::size_t>(layout_.rowBytes);
    std::memset(rows_.data(), 0, rowBytes * static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r) {
        const int y = (firstRow + r) / scale_;
        const std::uint8_t* from = source.data() + static_cast<std::size_t>(y) * frames::packedRowBytes;
        std::uint8_t* to = rows_.data() + rowBytes * static_cast<std::size_t>(r);
        for (int x = 0; x < frameWidth * scale_; ++x) {
            const int sx = x / scale_;
            if (!(from[sx / 8] >> (sx % 8) & 1)) {
                continue;
            }
            int byte = x / 8;
            if (layout_.swapInUnit) {
                const int inUnit = byte % layout_.unitBytes;
                byte += layout_.unitBytes - 1 - 2 * inUnit;
            }
            to[byte] |= static_cast<std::uint8_t>(1u << (layout_.lowBitFirst ? x % 8 : 7 - x % 8));
        }
    }
}

xcb_pixmap_t FramePixmaps::of(const frames::FramePicture& frame)
{
    xcb_pixmap_t& pixmap = pixmaps_[static_cast<std::size_t>(frame.holder() - 1)];
    if (pixmap) {
        return pixmap;
    }
    // Uploaded the first time the frame is shown, scaled once, and copied on the server after that.
    xcb_connection_t* c = connection_.get();
    const int width = frameWidth * scale_;
    const int height = frameHeight * scale_;
    pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, 1, pixmap, window_, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
    if (!uploadGc_) {
        uploadGc_ = xcb_generate_id(c);
        xcb_create_gc(c, uploadGc_, pixmap, 0, nullptr);
    }
    for (int top = 0; top < height; top += stripRows_) {
        const int rows = std::min(stripRows_, height - top);
        const std::uint8_t* data = frame.rows().data() + static_cast<std::size_t>(top) * frames::packedRowBytes;
        if (!asPacked_) {
            fillScaledRows(frame, top, rows);
            data = rows_.data();
        }
        xcb_put_image(c, XCB_IMAGE_FORMAT_XY_PIXMAP, pixmap, uploadGc_, static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(rows), 0, static_cast<std::int16_t>(top), 0, 1,
                      static_cast<std::uint32_t>(layout_.rowBytes * rows), data);
    }
    return pixmap;
}

}  // namespace qex::x11
