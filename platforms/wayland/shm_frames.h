#pragma once

#include "platforms/linux/changed_areas.h"

#include <wayland-client.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qex::wayland {

// The surface's whole content at one integer scale, in a few shared-memory buffers the compositor
// reads: the sunken border around the frame, each frame pixel an exact n x n block. A frame is
// expanded into a buffer the compositor has let go of (one already holding it when there is one),
// so a buffer it still reads is never changed under it, and memory stays at two or three
// surfaces' worth whatever the number of frames. A buffer that held another frame has only the
// pixels that differ rewritten.
class ShmFrames {
public:
    static constexpr int width = 349;   // logical pixels: the 345-pixel picture and two 2-pixel edges
    static constexpr int height = 407;  // logical pixels: the top edge and the 405-pixel picture
    static constexpr int edge = 2;      // logical pixels

    ShmFrames(wl_shm* shm, int scale);
    ~ShmFrames();
    ShmFrames(const ShmFrames&) = delete;
    ShmFrames& operator=(const ShmFrames&) = delete;

    int scale() const { return scale_; }
    // Attaches holder 1..54's buffer to the surface; the compositor holds it until it releases it.
    void attach(wl_surface* surface, int holder);
    // Whether the compositor still reads one of the buffers.
    bool held() const;

private:
    struct Slot {
        wl_buffer* buffer = nullptr;
        void* memory = nullptr;
        int holder = 0;  // whose picture the buffer shows; 0 for none yet
        bool held = false;
    };
    static const wl_buffer_listener bufferListener;
    static void released(void* data, wl_buffer* buffer);
    Slot& slotFor(int holder);
    void expand(int holder, std::uint32_t* pixels) const;
    // Rewrites the frame pixels inside area, in frame pixels, with holder's.
    void expandArea(int holder, const FrameArea& area, std::uint32_t* pixels) const;

    wl_shm* shm_;
    int scale_;
    int stride_;  // bytes per device row
    std::size_t frameBytes_;
    // A compositor holds at most the buffer on screen and the one it is about to show.
    static constexpr std::size_t slotCount = 3;
    std::array<Slot, slotCount> slots_{};
    std::vector<FrameArea> changed_;  // kept to spare an allocation a frame
};

}  // namespace qex::wayland
