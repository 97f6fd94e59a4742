#include "platforms/qt/picture1.h"

#include "platforms/qt/mono_expand.h"
#include "platforms/qt/server_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace qex {
namespace {


std::int16_t buttonState(Qt::MouseButtons buttons)
{
    std::int16_t state = 0;
    if (buttons & Qt::LeftButton) state |= 1;
    if (buttons & Qt::RightButton) state |= 2;
    if (buttons & Qt::MiddleButton) state |= 4;
    return state;
}

std::int16_t shiftState(Qt::KeyboardModifiers modifiers)
{
    std::int16_t state = 0;
    if (modifiers & Qt::ShiftModifier) state |= 1;
    if (modifiers & Qt::ControlModifier) state |= 2;
    if (modifiers & Qt::AltModifier) state |= 4;
    return state;
}

bool isClickButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}

}  // namespace

Picture1::Picture1(SurfaceEvents& events, QWidget* parent) : QFrame(parent), events_(events)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(borderWidth);
    setGeometry(0, 0, surfaceWidth, surfaceHeight);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Every pixel is painted here, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QPointF Picture1::userScale(int col, int row)
{
    return {unitsAcross(col), unitsDown(row)};
}

QRect Picture1::pictureRect() const
{
    return {contentsRect().topLeft(), QSize(frames::frameWidth, frames::frameHeight)};
}

bool Picture1::setPicture(std::shared_ptr<const frames::FramePicture> picture)
{
    if (picture == picture_) {
        return false;
    }
    picture_ = std::move(picture);
    if (!canvasTried_) {
        canvasTried_ = true;
        canvas_ = ServerCanvas::create(*this, pictureRect());
    }
    if (canvas_ && canvas_->draw(picture_)) {
        // The X server draws it: nothing to convert and nothing for Qt to repaint.
        screenImage_ = QImage();
        return true;
    }
    if (picture_) {
        expandToRgb32(picture_->image(), screenImage_);
    } else {
        screenImage_ = QImage();
    }
    // Only the picture changes; the border stays as it was painted.
    update(pictureRect());
    return true;
}

void Picture1::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect inner = contentsRect();
    if (screenImage_.isNull()) {
        painter.fillRect(inner, palette().window());
    } else {
        // The picture covers every visible inner pixel; only the cut-off part below it is filled.
        painter.drawImage(inner.topLeft(), screenImage_);
        painter.fillRect(inner.adjusted(0, frames::frameHeight, 0, 0), palette().window());
    }
    if (!inner.contains(event->rect())) {
        drawFrame(&painter);
    }
}

void Picture1::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        std::int16_t escape = 27;
        events_.keyPress(escape);
        return;
    }
    // Keys that give no character (function keys, the keypad's Delete) are not commands.
    for (const QChar ch : event->text()) {
        if (ch.unicode() > 0xFF) {
            continue;
        }
        auto keyAscii = static_cast<std::int16_t>(ch.unicode());
        events_.keyPress(keyAscii);
    }
}

void Picture1::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position();
    const int col = static_cast<int>(std::floor(at.x())) - contentsRect().left();
    const int row = static_cast<int>(std::floor(at.y())) - contentsRect().top();
    // Moves are reported over the inner area, and anywhere while a button pressed here is held.
    const bool captured = event->buttons() != Qt::NoButton;
    if (!captured && !contentsRect().contains(at.toPoint())) {
        return;
    }
    const QPointF units = userScale(col, row);
    events_.mouseMove(buttonState(event->buttons()), shiftState(event->modifiers()),
                      static_cast<float>(units.x()), static_cast<float>(units.y()));
}

void Picture1::mousePressEvent(QMouseEvent* event)
{
    clickButton_ = isClickButton(event->button()) ? event->button() : Qt::NoButton;
}

void Picture1::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = event->button() == clickButton_ && clickButton_ != Qt::NoButton &&
                       rect().contains(event->position().toPoint());
    clickButton_ = Qt::NoButton;
    if (click) {
        events_.click();
    }
}

void Picture1::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first press already made its click; the release after this one makes none.
    clickButton_ = Qt::NoButton;
    if (isClickButton(event->button())) {
        events_.dblClick();
    }
}

bool Picture1::focusNextPrevChild(bool)
{
    // The surface is the window's only control: Tab stays here as an ordinary key.
    return false;
}

}  // namespace qex
