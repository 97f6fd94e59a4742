#include "platforms/qt/frame_set.h"

#include <QString>

namespace qex::frames {

FrameSet::FrameSet()
{
    for (int holder = 1; holder <= frameCount; ++holder) {
        const QString name = QStringLiteral(":/frames/image%1.bmp").arg(holder, 2, 10, QLatin1Char('0'));
        QImage image(name, "BMP");
        if (image.isNull() || image.width() != frameWidth || image.height() != frameHeight) {
            continue;
        }
        holders_[static_cast<std::size_t>(slotOfHolder(holder))] =
            std::make_shared<const FramePicture>(std::move(image));
    }
}

bool FrameSet::isComplete() const
{
    for (const auto& holder : holders_) {
        if (!holder) {
            return false;
        }
    }
    return true;
}

PictureRef FrameSet::PictureOf(int holder) const
{
    return holders_[static_cast<std::size_t>(slotOfHolder(holder))];
}

}  // namespace qex::frames
