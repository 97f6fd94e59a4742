#pragma once

#include "platforms/x11/connection.h"
#include "platforms/x11/frame_set.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qex::x11 {

// The frames as 1-bit pixmaps on the server, each uploaded the first time it is shown, already
// scaled (every frame pixel an n x n block) and in the server's own bitmap layout.
class FramePixmaps {
public:
    FramePixmaps(const Connection& connection, xcb_window_t window, int scale);
    ~FramePixmaps();
    FramePixmaps(const FramePixmaps&) = delete;
    FramePixmaps& operator=(const FramePixmaps&) = delete;

    // The frame's pixmap, uploading it if this is its first showing.
    xcb_pixmap_t of(const frames::FramePicture& frame);

private:
    struct BitLayout {
        bool lowBitFirst;   // the leftmost pixel of a byte in its low bit
        bool swapInUnit;    // bytes of a scanline unit stored in the reverse order
        int unitBytes;
        int rowBytes;       // of a scaled row, with the server's scanline padding
    };

    void fillScaledRows(const frames::FramePicture& frame, int firstRow, int rows);

    const Connection& connection_;
    xcb_window_t window_;
    int scale_;
    BitLayout layout_{};
    std::size_t maxUploadBytes_ = 0;
    int stripRows_ = 0;      // rows in one upload request
    bool asPacked_ = false;  // the packed rows are already in the server's layout
    std::vector<std::uint8_t> rows_;  // upload scratch, sized once
    xcb_gcontext_t uploadGc_ = 0;
    std::array<xcb_pixmap_t, frames::frameCount> pixmaps_{};
};

}  // namespace qex::x11
