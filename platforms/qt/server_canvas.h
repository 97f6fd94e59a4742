#pragma once

#include "platforms/qt/frame_set.h"

#include <QWidget>

#include <memory>
#include <vector>

namespace qex {

// Shows frames on an X11 server by copying them from 1-bit pixmaps kept in the server, so a
// frame change costs one small request instead of a conversion, a repaint and an image upload.
// A native child window over the picture area; the pointer passes through it to the widget below.
class ServerCanvas final : public QWidget {
public:
    // A canvas over `area` of `parent`, or null where the X server cannot draw the frames
    // itself (another window system, a device pixel ratio other than 1, an unusual pixel layout).
    static ServerCanvas* create(QWidget& parent, const QRect& area);
    ~ServerCanvas() override;

    // Puts a two-colour 1-bit frame on screen now, uploading its bitmap the first time it is
    // shown; anything else (or null) hides the canvas and returns false, for Qt to paint.
    bool draw(std::shared_ptr<const frames::FramePicture> picture);

protected:
    QPaintEngine* paintEngine() const override { return nullptr; }
    void paintEvent(QPaintEvent* event) override;

private:
    struct Server;

    ServerCanvas(QWidget& parent, const QRect& area);
    void copyToWindow(const std::vector<QRect>& areas);

    std::unique_ptr<Server> server_;
    std::shared_ptr<const frames::FramePicture> picture_;
};

}  // namespace qex
