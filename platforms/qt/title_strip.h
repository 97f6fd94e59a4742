#pragma once

#include <QWidget>

namespace qex {

// The window's own title bar, where the window system draws none: the caption from its start,
// cut at its end with an ellipsis, a close box, and a drag on the rest that moves the window.
// It offers neither minimize nor maximize, and a double click does nothing.
class TitleStrip final : public QWidget {
public:
    static constexpr int height = 24;  // logical pixels

    explicit TitleStrip(QWidget& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect closeBox() const;
    void setCloseHovered(bool hovered);

    QWidget& window_;
    bool closePressed_ = false;
    bool closeHovered_ = false;
};

}  // namespace qex
