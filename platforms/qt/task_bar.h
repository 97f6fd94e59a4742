#pragma once

class QWidget;

namespace qex {

// Asks the desktop to leave the top-level window out of its task bar and window lists, where
// the window system has such a request; to be called before the window is first shown.
void leaveOutOfTaskBar(QWidget& window);

}  // namespace qex
