#include "platforms/qt/mono_expand.h"

#include <array>
#include <cstring>

namespace qex {

void expandToRgb32(const QImage& source, QImage& into)
{
    if (source.format() != QImage::Format_Mono || source.colorCount() != 2) {
        into = source.convertToFormat(QImage::Format_RGB32);
        return;
    }
    if (into.size() != source.size() || into.format() != QImage::Format_RGB32 || !into.isDetached()) {
        into = QImage(source.size(), QImage::Format_RGB32);
    }
    // The palette may come in either order, so the eight pixels of each byte value are looked up.
    const std::array<QRgb, 2> colour{source.color(0) | 0xFF000000u, source.color(1) | 0xFF000000u};
    std::array<std::array<QRgb, 8>, 256> eight{};
    for (int byte = 0; byte < 256; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            eight[static_cast<std::size_t>(byte)][static_cast<std::size_t>(bit)] =
                colour[static_cast<std::size_t>((byte >> (7 - bit)) & 1)];
        }
    }
    const int width = source.width();
    const int wholeBytes = width / 8;
    for (int y = 0; y < source.height(); ++y) {
        const uchar* bits = source.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(into.scanLine(y));
        for (int i = 0; i < wholeBytes; ++i) {
            std::memcpy(out + 8 * i, eight[bits[i]].data(), sizeof(QRgb) * 8);
        }
        for (int x = wholeBytes * 8; x < width; ++x) {
            out[x] = colour[static_cast<std::size_t>((bits[x >> 3] >> (7 - (x & 7))) & 1)];
        }
    }
}

}  // namespace qex
