#include "app/outer_size_keeper.h"

#include <QEvent>
#include <QWidget>

namespace kx::app {

OuterSizeKeeper::OuterSizeKeeper(QWidget& window, bool fixed)
    : QObject(&window), window_(window), fixed_(fixed), fixedOuter_(window.size()) {
  window_.installEventFilter(this);
}

bool OuterSizeKeeper::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowStateChange:
      fit();
      break;
    default:
      break;
  }
  return false;
}

void OuterSizeKeeper::fit() {
  // A maximised or full-screen window has the screen's size, not its own.
  if (!window_.isVisible() || (window_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized |
                                                         Qt::WindowFullScreen))) {
    return;
  }
  const QSize frame = window_.frameGeometry().size() - window_.size();
  if (frame == frame_) return;
  // The frame's top left corner stays where it is, so a window centred by its
  // outer size stays centred. A fixed window's client size may be passing
  // through a change of state just now; the outer size it keeps is known.
  const QSize client = fixed_ ? fixedOuter_ - frame : window_.size() + frame_ - frame;
  frame_ = frame;  // before resizing, which may come straight back here
  if (fixed_) {
    window_.setFixedSize(client);
  } else {
    window_.resize(client);
  }
}

}  // namespace kx::app
