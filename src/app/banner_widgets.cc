#include "app/banner_widgets.h"

#include <QMouseEvent>
#include <QPainter>

namespace kx::app {
namespace {

bool releasedInside(const QWidget& widget, const QMouseEvent& event) {
  return event.button() == Qt::LeftButton && widget.rect().contains(event.position().toPoint());
}

}  // namespace

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
  setCursor(Qt::PointingHandCursor);
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT pressed();
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (releasedInside(*this, *event)) Q_EMIT clicked();
}

LinkLabel::LinkLabel(const QString& caption, const QString& target, QWidget* parent)
    : QLabel(caption, parent), target_(target) {
  setCursor(Qt::PointingHandCursor);
  setAlignment(Qt::AlignCenter);
  QPalette palette = this->palette();
  palette.setColor(QPalette::WindowText, QColor(0x00, 0x33, 0xcc));
  setPalette(palette);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Q_EMIT pressed();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (releasedInside(*this, *event)) Q_EMIT clicked();
}

}  // namespace kx::app
