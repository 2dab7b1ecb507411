// Keeps a window's outer size, frame included, at what it was designed to be.
// The window system tells a window its frame only once the window is shown,
// and a window manager even later: after it has framed the window, with the
// next move or resize it reports. So the keeper looks again at every move,
// resize and show, and takes a changed frame off the client size.
#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace kx::app {

class OuterSizeKeeper : public QObject {
  Q_OBJECT

 public:
  // Watches window, a top-level widget that owns the keeper and whose current
  // client size is its outer size without a frame. fixed: the window's size is
  // fixed (setFixedSize), so the fitted size is fixed too.
  OuterSizeKeeper(QWidget& window, bool fixed);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fit();

  QWidget& window_;
  const bool fixed_;
  const QSize fixedOuter_;  // the outer size of a fixed window
  QSize frame_{0, 0};  // the frame already taken off the client size
};

}  // namespace kx::app
