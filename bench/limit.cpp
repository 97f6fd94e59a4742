// The least an X program can do to show frame 1: one 349 x 407 window, the frame uploaded once
// as a 1-bit server pixmap and copied into it at (2,2) on every expose. The bench measures it
// beside the viewers as the floor for start-up and memory. With --every-refresh it also sends
// one 8 x 8 copy 60 times a second once the frame is up: the cost of waking it and the server
// once a refresh, the floor for a player that changes the picture every refresh. Runs until
// killed or disconnected.
#include "frames/packed_frames.h"

#include <poll.h>
#include <sys/prctl.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

// Sends a small copy at each refresh, sleeping in between as precisely as the viewer does; the
// clock by hand, so that the limit links no C++ runtime.
[[noreturn]] void copyEveryRefresh(xcb_connection_t* connection, xcb_pixmap_t bits, xcb_window_t window,
                                   xcb_gcontext_t gc)
{
    constexpr std::int64_t refreshNs = 16'666'667;  // 60 Hz
    const auto nowNs = [] {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
    };
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    pollfd connectionFd{xcb_get_file_descriptor(connection), POLLIN, 0};
    for (std::int64_t due = nowNs() + refreshNs;; due += refreshNs) {
        for (std::int64_t now = nowNs(); now < due; now = nowNs()) {
            const timespec timeout{static_cast<std::time_t>((due - now) / 1'000'000'000),
                                   static_cast<long>((due - now) % 1'000'000'000)};
            ::ppoll(&connectionFd, 1, &timeout, nullptr);
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
                std::free(event);
            }
            if (xcb_connection_has_error(connection)) {
                std::exit(0);
            }
        }
        xcb_copy_plane(connection, bits, window, gc, 0, 0, 2, 2, 8, 8, 1);
        xcb_flush(connection);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const bool everyRefresh = argc > 1 && std::strcmp(argv[1], "--every-refresh") == 0;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("qex-limit: cannot open the display\n", stderr);
        return 1;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const auto width = static_cast<std::uint16_t>(qex::frames::packedWidth);
    const auto height = static_cast<std::uint16_t>(qex::frames::packedHeight);

    // The packed rows are already in the server's bitmap layout (32-bit pad, low bit first).
    const xcb_pixmap_t bits = xcb_generate_id(connection);
    xcb_create_pixmap(connection, 1, bits, screen->root, width, height);
    const xcb_gcontext_t bitsGc = xcb_generate_id(connection);
    xcb_create_gc(connection, bitsGc, bits, 0, nullptr);
    const auto frame = qex::frames::packedFrame(1);
    xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, bits, bitsGc, width, height, 0, 0, 0, 1,
                  static_cast<std::uint32_t>(frame.size()), frame.data());

    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t windowValues[] = {0xc0c0c0, XCB_EVENT_MASK_EXPOSURE};  // grey background
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 349, 407, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, windowValues);
    // A set bit is white.
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const std::uint32_t gcValues[] = {screen->white_pixel, screen->black_pixel, 0};
    xcb_create_gc(connection, gc, window,
                  XCB_GC_FOREGROUND | XCB_GC_BACKGROUND | XCB_GC_GRAPHICS_EXPOSURES, gcValues);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool lastExpose = (event->response_type & 0x7f) == XCB_EXPOSE &&
                                reinterpret_cast<xcb_expose_event_t*>(event)->count == 0;
        std::free(event);
        if (lastExpose) {
            xcb_copy_plane(connection, bits, window, gc, 0, 0, 2, 2, width, height, 1);
            xcb_flush(connection);
            if (everyRefresh) {
                copyEveryRefresh(connection, bits, window, gc);
            }
        }
    }
    return 0;
}
