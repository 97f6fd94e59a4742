#pragma once

#include "frames/numbering.h"

#include <wayland-client.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace qex::wayland {

// The surface's whole content for every frame at one integer scale, in one shared-memory pool
// the compositor reads: the sunken border around the frame, each frame pixel an exact n x n
// block. A frame is expanded the first time it is asked for and never written again, so a
// buffer the compositor still holds is never changed under it.
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
        bool held = false;
    };
    static const wl_buffer_listener bufferListener;
    static void released(void* data, wl_buffer* buffer);
    wl_buffer* buffer(int holder);
    void expand(int holder, std::uint32_t* pixels) const;

    int scale_;
    int stride_;            // bytes per device row
    std::size_t frameBytes_;
    std::size_t poolBytes_;
    int fd_ = -1;
    void* memory_ = nullptr;
    wl_shm_pool* pool_ = nullptr;
    std::array<Slot, frames::frameCount> slots_{};
};

}  // namespace qex::wayland
