#include "platforms/win32/frame_set.h"

#include <cstring>

namespace qex::frames {
namespace {

constexpr std::size_t fileHeaderSize = 14;  // bytes before the packed DIB in a .bmp file

// The bitmap of one resource, when it is the 1-bit 345 x 405 picture the surface draws.
std::shared_ptr<const FramePicture> load(int holder)
{
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(holder), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(self, found);
    HGLOBAL loaded = ::LoadResource(self, found);
    const auto* bytes = loaded ? static_cast<const unsigned char*>(::LockResource(loaded)) : nullptr;
    if (!bytes || size < fileHeaderSize + sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD) ||
        std::memcmp(bytes, "BM", 2) != 0) {
        return nullptr;
    }
    DWORD offset = 0;
    std::memcpy(&offset, bytes + 10, sizeof offset);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bytes + fileHeaderSize);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const DWORD stride = ((frameWidth + 31) / 32) * 4;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth != frameWidth ||
        header.biHeight != frameHeight || header.biPlanes != 1 || header.biBitCount != 1 ||
        header.biCompression != BI_RGB || offset > size || size - offset < stride * frameHeight) {
        return nullptr;
    }
    return std::make_shared<const FramePicture>(info, bytes + offset);
}

}  // namespace

FrameSet::FrameSet()
{
    for (int holder = 1; holder <= frameCount; ++holder) {
        hold(holder, load(holder));
    }
}

}  // namespace qex::frames
