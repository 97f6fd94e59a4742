#pragma once

#include "platforms/qt/frame_set.h"
#include "platforms/surface_events.h"

#include <QFrame>
#include <QImage>
#include <QPointF>

#include <memory>

namespace qex {

class ServerCanvas;

// The display surface: a sunken 349 x 768 panel whose 345-pixel-wide inner area shows one
// frame unscaled at its top-left corner and reports keys and pointer actions.
class Picture1 final : public QFrame {
public:
    static constexpr int surfaceWidth = 349;   // logical pixels
    static constexpr int surfaceHeight = 768;  // logical pixels
    static constexpr int borderWidth = 2;      // logical pixels on each side

    Picture1(SurfaceEvents& events, QWidget* parent);

    // Shows the picture (at once where the X server draws it, else from the next repaint on);
    // returns false if it is already shown.
    bool setPicture(std::shared_ptr<const frames::FramePicture> picture);
    const std::shared_ptr<const frames::FramePicture>& picture() const { return picture_; }

    // Surface units of a logical pixel counted from the inner top-left corner (col, row >= 0 inside).
    static QPointF userScale(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QRect pictureRect() const;

    SurfaceEvents& events_;
    std::shared_ptr<const frames::FramePicture> picture_;
    QImage screenImage_;  // the shown frame, converted once so that a repaint is a plain copy
    ServerCanvas* canvas_ = nullptr;  // child that the X server draws frames into, where it can
    bool canvasTried_ = false;
    Qt::MouseButton clickButton_ = Qt::NoButton;
};

}  // namespace qex
