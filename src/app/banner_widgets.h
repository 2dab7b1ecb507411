// The banner's clickable pieces: picture boxes showing a drawn image and link
// labels that carry their own target page.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace kx::app {

// A picture with the hand pointer. pressed() comes on the left button going
// down, clicked() when it is released over the picture.
class PictureBox : public QWidget {
  Q_OBJECT

 public:
  PictureBox(const QPixmap& picture, QWidget* parent = nullptr);

 Q_SIGNALS:
  void pressed();
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPixmap picture_;
};

// A centred, underlined caption with the hand pointer. target() is the page it
// opens when clicked, empty for labels that run a command instead.
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  LinkLabel(const QString& caption, const QString& target, QWidget* parent = nullptr);

  QString target() const { return target_; }
  void setTarget(const QString& target) { target_ = target; }

 Q_SIGNALS:
  void pressed();
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QString target_;
};

}  // namespace kx::app
