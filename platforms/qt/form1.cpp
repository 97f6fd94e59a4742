#include "platforms/qt/form1.h"

#include "engine/play_loop.h"
#include "input/handlers.h"
#include "platforms/qt/task_bar.h"
#include "platforms/qt/title_strip.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QWindow>

namespace qex {

const char* const Form1::caption = "QEX Zorbuliners&PintaksIn3Lifts  SpaceBar +-*/,.  ESC";

Form1::Form1(const frames::FrameSet& frames)
    // A title bar with only the close box: the window neither minimizes nor maximizes.
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      picture1_(new Picture1(*this, this)),
      platform_(*this, *picture1_, frames)
{
    setWindowTitle(QString::fromLatin1(caption));
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/qex-lifts-%1.png").arg(size), QSize(size, size));
    }
    setWindowIcon(icon);
    setFixedSize(clientWidth, clientHeight);
    // The title bar keeps its close box; the window goes without a task-bar entry instead.
    leaveOutOfTaskBar(*this);
    picture1_->setFocus();
}

void Form1::open()
{
    show();
    // Only on Wayland do frame margins mean Qt's own title bar (which always offers minimize
    // and maximize and centres the caption); on X11 they are the window manager's frame.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return;
    }
    takeOverTitleIfQtDrawsIt();
    // A compositor that offers to draw titles itself may still answer that the client should:
    // Qt's title bar then appears with a later expose.
    if (!ownTitle_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Expose) {
        takeOverTitleIfQtDrawsIt();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::takeOverTitleIfQtDrawsIt()
{
    QWindow* handle = windowHandle();
    if (ownTitle_ || !handle || handle->frameMargins().isNull()) {
        return;
    }
    ownTitle_ = true;
    handle->removeEventFilter(this);
    // Set on the live window, not through setWindowFlags, which would hide and recreate it.
    const Qt::WindowFlags flags = windowFlags() | Qt::FramelessWindowHint;
    overrideWindowFlags(flags);
    handle->setFlags(flags);
    (new TitleStrip(*this))->show();
    picture1_->move(0, TitleStrip::height);
    setFixedSize(clientWidth, clientHeight + TitleStrip::height);
}

bool Form1::event(QEvent* event)
{
    const bool starts = event->type() == QEvent::WindowActivate || event->type() == QEvent::Show;
    if (starts && !activated_) {
        activated_ = true;
        // Entered from the top of the event queue rather than from inside this event's dispatch.
        QMetaObject::invokeMethod(
            this, [this] { Form_Activate(state_, platform_); }, Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    // The close box, Alt+F4 or another close request: a loop without its window must not go on.
    event->accept();
    platform_.EndProgram();
}

void Form1::keyPress(std::int16_t& keyAscii)
{
    platform_.inputArrived();
    Picture1_KeyPress(state_, platform_, keyAscii);
}

void Form1::mouseMove(std::int16_t button, std::int16_t shift, float x, float y)
{
    platform_.inputArrived();
    Picture1_MouseMove(state_, platform_, button, shift, x, y);
}

void Form1::click()
{
    platform_.inputArrived();
    Picture1_Click(state_);
}

void Form1::dblClick()
{
    platform_.inputArrived();
    Picture1_DblClick(platform_);
}

}  // namespace qex
