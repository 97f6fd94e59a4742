#include "platforms/wayland/shm_frames.h"

#include "frames/packed_frames.h"
#include "platforms/wayland/connection.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace qex::wayland {
namespace {

// The sunken edge: darker above and left of the picture, lighter right of it.
constexpr std::uint32_t outerShadow = 0xA0A0A0;
constexpr std::uint32_t innerShadow = 0x696969;
constexpr std::uint32_t innerLight = 0xE3E3E3;
constexpr std::uint32_t outerLight = 0xFFFFFF;
constexpr std::uint32_t white = 0xFFFFFF;  // a set bit
constexpr std::uint32_t black = 0x000000;

}  // namespace

const wl_buffer_listener ShmFrames::bufferListener{&ShmFrames::released};

ShmFrames::ShmFrames(wl_shm* shm, int scale)
    : shm_(shm),
      scale_(scale),
      stride_(width * scale * 4),
      frameBytes_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height * scale))
{
}

ShmFrames::~ShmFrames()
{
    for (Slot& slot : slots_) {
        if (slot.buffer) {
            wl_buffer_destroy(slot.buffer);
            munmap(slot.memory, frameBytes_);
        }
    }
}

void ShmFrames::released(void* data, wl_buffer*)
{
    static_cast<Slot*>(data)->held = false;
}

bool ShmFrames::held() const
{
    return std::any_of(slots_.begin(), slots_.end(), [](const Slot& slot) { return slot.held; });
}

void ShmFrames::attach(wl_surface* surface, int holder)
{
    Slot& slot = slotFor(holder);
    wl_surface_attach(surface, slot.buffer, 0, 0);
    slot.held = true;
}

ShmFrames::Slot& ShmFrames::slotFor(int holder)
{
    Slot* free = nullptr;
    for (Slot& slot : slots_) {
        if (slot.holder == holder && !slot.held) {
            return slot;
        }
        // A buffer already made is taken before a new one is.
        if (!slot.held && (!free || (slot.buffer && !free->buffer))) {
            free = &slot;
        }
    }
    if (!free) {
        // Only a compositor that never lets go gets here: the caller waits for releases first.
        fatal("the compositor holds every frame buffer");
    }
    if (!free->buffer) {
        const int fd = memfd_create("qex-lifts-frame", MFD_CLOEXEC);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(frameBytes_)) != 0) {
            fatal("no shared memory for the frames");
        }
        free->memory = mmap(nullptr, frameBytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (free->memory == MAP_FAILED) {
            fatal("the frames' shared memory could not be mapped");
        }
        wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<std::int32_t>(frameBytes_));
        free->buffer = wl_shm_pool_create_buffer(pool, 0, width * scale_, height * scale_, stride_,
                                                 WL_SHM_FORMAT_XRGB8888);
        // The buffer keeps the memory; the pool and the descriptor are no longer needed.
        wl_shm_pool_destroy(pool);
        close(fd);
        wl_buffer_add_listener(free->buffer, &bufferListener, free);
    }
    auto* pixels = static_cast<std::uint32_t*>(free->memory);
    if (free->holder == 0) {
        expand(holder, pixels);
    } else {
        changedAreas(frames::packedFrame(free->holder), frames::packedFrame(holder), changed_);
        for (const FrameArea& area : changed_) {
            expandArea(holder, area, pixels);
        }
    }
    free->holder = holder;
    return *free;
}

void ShmFrames::expand(int holder, std::uint32_t* pixels) const
{
    const int n = scale_;
    const std::size_t rowPixels = static_cast<std::size_t>(width * n);
    std::uint32_t* line = pixels;
    // One logical row at a time, built once and copied down n device rows.
    for (int y = 0; y < height; ++y) {
        auto put = [&](int x, std::uint32_t colour) { std::fill_n(line + x * n, n, colour); };
        put(0, outerShadow);
        if (y == 0) {
            for (int x = 1; x < width - 1; ++x) {
                put(x, outerShadow);
            }
        } else if (y == 1) {
            for (int x = 1; x < width - 2; ++x) {
                put(x, innerShadow);
            }
            put(width - 2, innerLight);
        } else {
            put(1, innerShadow);
            put(width - 2, innerLight);
        }
        put(width - 1, outerLight);
        for (int copy = 1; copy < n; ++copy) {
            std::memcpy(line + rowPixels * static_cast<std::size_t>(copy), line, rowPixels * 4);
        }
        line += rowPixels * static_cast<std::size_t>(n);
    }
    expandArea(holder, {0, 0, frames::packedWidth, frames::packedHeight}, pixels);
}

void ShmFrames::expandArea(int holder, const FrameArea& area, std::uint32_t* pixels) const
{
    const auto packed = frames::packedFrame(holder);
    const int n = scale_;
    const std::size_t rowPixels = static_cast<std::size_t>(width * n);
    const std::size_t left = static_cast<std::size_t>((area.x + edge) * n);
    const std::size_t runBytes = static_cast<std::size_t>(area.width * n) * 4;
    for (int y = area.y; y < area.y + area.height; ++y) {
        std::uint32_t* line = pixels + static_cast<std::size_t>((y + edge) * n) * rowPixels;
        const std::uint8_t* row = packed.data() + static_cast<std::size_t>(y) * frames::packedRowBytes;
        for (int col = area.x; col < area.x + area.width; ++col) {
            const bool set = (row[col / 8] >> (col % 8)) & 1;
            std::fill_n(line + (col + edge) * n, n, set ? white : black);
        }
        for (int copy = 1; copy < n; ++copy) {
            std::memcpy(line + rowPixels * static_cast<std::size_t>(copy) + left, line + left, runBytes);
        }
    }
}

}  // namespace qex::wayland
