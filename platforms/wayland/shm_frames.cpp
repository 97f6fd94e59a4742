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
    : scale_(scale),
      stride_(width * scale * 4),
      frameBytes_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height * scale)),
      poolBytes_(frameBytes_ * frames::frameCount)
{
    fd_ = memfd_create("qex-lifts-frames", MFD_CLOEXEC);
    if (fd_ < 0 || ftruncate(fd_, static_cast<off_t>(poolBytes_)) != 0) {
        fatal("no shared memory for the frames");
    }
    memory_ = mmap(nullptr, poolBytes_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (memory_ == MAP_FAILED) {
        fatal("the frames' shared memory could not be mapped");
    }
    pool_ = wl_shm_create_pool(shm, fd_, static_cast<std::int32_t>(poolBytes_));
}

ShmFrames::~ShmFrames()
{
    for (Slot& slot : slots_) {
        if (slot.buffer) {
            wl_buffer_destroy(slot.buffer);
        }
    }
    wl_shm_pool_destroy(pool_);
    munmap(memory_, poolBytes_);
    close(fd_);
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
    wl_surface_attach(surface, buffer(holder), 0, 0);
    slots_[static_cast<std::size_t>(frames::slotOfHolder(holder))].held = true;
}

wl_buffer* ShmFrames::buffer(int holder)
{
    Slot& slot = slots_[static_cast<std::size_t>(frames::slotOfHolder(holder))];
    if (!slot.buffer) {
        const std::size_t offset = frameBytes_ * static_cast<std::size_t>(frames::slotOfHolder(holder));
        expand(holder, reinterpret_cast<std::uint32_t*>(static_cast<std::byte*>(memory_) + offset));
        slot.buffer = wl_shm_pool_create_buffer(pool_, static_cast<std::int32_t>(offset), width * scale_,
                                                height * scale_, stride_, WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(slot.buffer, &bufferListener, &slot);
    }
    return slot.buffer;
}

void ShmFrames::expand(int holder, std::uint32_t* pixels) const
{
    const auto packed = frames::packedFrame(holder);
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
            const std::uint8_t* row = packed.data() + static_cast<std::size_t>(y - edge) * frames::packedRowBytes;
            for (int col = 0; col < frames::packedWidth; ++col) {
                const bool set = (row[col / 8] >> (col % 8)) & 1;
                put(col + edge, set ? white : black);
            }
            put(width - 2, innerLight);
        }
        put(width - 1, outerLight);
        for (int copy = 1; copy < n; ++copy) {
            std::memcpy(line + rowPixels * static_cast<std::size_t>(copy), line, rowPixels * 4);
        }
        line += rowPixels * static_cast<std::size_t>(n);
    }
}

}  // namespace qex::wayland
