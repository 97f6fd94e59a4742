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
        hold(holder, std::make_shared<const FramePicture>(std::move(image)));
    }
}

}  // namespace qex::frames
