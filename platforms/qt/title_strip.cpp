#include "platforms/qt/title_strip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace qex {

TitleStrip::TitleStrip(QWidget& window) : QWidget(&window), window_(window)
{
    setGeometry(0, 0, window.width(), height);
    setMouseTracking(true);
    // The strip never takes the keyboard from the picture.
    setFocusPolicy(Qt::NoFocus);
}

QRect TitleStrip::closeBox() const
{
    constexpr int margin = 3;  // logical pixels around the box
    const int side = height - 2 * margin;
    return {width() - margin - side, margin, side, side};
}

void TitleStrip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = window_.isActiveWindow();
    const QPalette::ColorGroup group = active ? QPalette::Active : QPalette::Inactive;
    // Active: the selection colours; inactive: a grey a little darker than the window, as title bars dim.
    const QColor background =
        active ? palette().color(group, QPalette::Highlight) : palette().color(group, QPalette::Window).darker(115);
    const QColor ink = active ? palette().color(group, QPalette::HighlightedText) : palette().color(group, QPalette::Dark);
    painter.fillRect(rect(), background);

    constexpr int textIndent = 6;  // logical pixels before the caption and before the close box
    const QRect box = closeBox();
    const QRect textArea(textIndent, 0, box.left() - 2 * textIndent, height);
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(ink);
    const QString caption = painter.fontMetrics().elidedText(window_.windowTitle(), Qt::ElideRight, textArea.width());
    painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);

    if (closeHovered_ || closePressed_) {
        painter.fillRect(box, closePressed_ ? background.darker(140) : background.lighter(125));
    }
    constexpr int crossInset = 5;  // logical pixels from the box's edge to the cross
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 1.6));
    const QRectF cross = QRectF(box).adjusted(crossInset, crossInset, -crossInset, -crossInset);
    painter.drawLine(cross.topLeft(), cross.bottomRight());
    painter.drawLine(cross.topRight(), cross.bottomLeft());
}

void TitleStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (closeBox().contains(event->position().toPoint())) {
        closePressed_ = true;
        update(closeBox());
    } else if (QWindow* handle = window_.windowHandle()) {
        // The compositor moves the window; only it knows where windows may go.
        handle->startSystemMove();
    }
}

void TitleStrip::mouseMoveEvent(QMouseEvent* event)
{
    setCloseHovered(closeBox().contains(event->position().toPoint()));
}

void TitleStrip::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !closePressed_) {
        return;
    }
    closePressed_ = false;
    update(closeBox());
    // Like any close box: the close happens only if the button is let go over it.
    if (closeBox().contains(event->position().toPoint())) {
        window_.close();
    }
}

void TitleStrip::leaveEvent(QEvent*)
{
    setCloseHovered(false);
}

bool TitleStrip::event(QEvent* event)
{
    // The strip shows whether the window is the active one, as title bars do.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate) {
        update();
    }
    return QWidget::event(event);
}

void TitleStrip::setCloseHovered(bool hovered)
{
    if (hovered != closeHovered_) {
        closeHovered_ = hovered;
        update(closeBox());
    }
}

}  // namespace qex
