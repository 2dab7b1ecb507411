#include "app/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/fonts.h"

namespace kx::app {
namespace {

constexpr int kIconSize = 64;

QPixmap blank(int width, int height) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A rounded tile in two shades of one colour, the ground of every icon.
void paintTile(QPainter& p, const QColor& colour) {
  QLinearGradient gradient(0, 6, 0, 58);
  gradient.setColorAt(0, colour.lighter(135));
  gradient.setColorAt(1, colour.darker(115));
  p.setPen(QPen(colour.darker(140), 1.5));
  p.setBrush(gradient);
  p.drawRoundedRect(QRectF(7, 7, 50, 50), 11, 11);
}

void paintSave(QPainter& p) {
  paintTile(p, QColor(0x2f, 0x7d, 0xd1));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xf4, 0xf7, 0xfb));
  p.drawRect(QRectF(19, 15, 26, 14));  // the label of the disk
  p.setBrush(QColor(0x1b, 0x3e, 0x66));
  p.drawRect(QRectF(21, 38, 22, 13));  // the shutter
  p.setBrush(QColor(0xf4, 0xf7, 0xfb));
  p.drawRect(QRectF(35, 40, 5, 9));
}

void paintHelp(QPainter& p) {
  paintTile(p, QColor(0x3a, 0xa8, 0x5c));
  QFont font = heiFont(36, true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(7, 5, 50, 52), Qt::AlignCenter, QStringLiteral("?"));
}

void paintHome(QPainter& p) {
  paintTile(p, QColor(0xe0, 0x8a, 0x1e));
  QPainterPath roof;
  roof.moveTo(32, 14);
  roof.lineTo(51, 31);
  roof.lineTo(13, 31);
  roof.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(roof);
  p.drawRect(QRectF(18, 30, 28, 19));
  p.setBrush(QColor(0xe0, 0x8a, 0x1e).darker(120));
  p.drawRect(QRectF(28, 36, 8, 13));  // the door
}

void paintContact(QPainter& p) {
  paintTile(p, QColor(0x1c, 0x9b, 0xb8));
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(14, 16, 36, 24), 9, 9);
  QPainterPath tail;
  tail.moveTo(22, 38);
  tail.lineTo(18, 49);
  tail.lineTo(31, 39);
  tail.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(bubble.united(tail));
  p.setBrush(QColor(0x1c, 0x9b, 0xb8));
  for (int i = 0; i < 3; ++i) p.drawEllipse(QPointF(23 + 9 * i, 28), 2.6, 2.6);
}

void paintMoreSoftware(QPainter& p) {
  paintTile(p, QColor(0x8e, 0x4f, 0xc9));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 2; ++col) p.drawRoundedRect(QRectF(17 + 16 * col, 17 + 16 * row, 13, 13), 3, 3);
  }
}

void paintBatchTool(QPainter& p) {
  paintTile(p, QColor(0x6b, 0x77, 0x85));
  p.setPen(QPen(QColor(0x6b, 0x77, 0x85).darker(130), 1));
  for (int i = 2; i >= 0; --i) {  // a stack of sheets, the front one last
    p.setBrush(i == 0 ? QColor(Qt::white) : QColor(0xdd, 0xe2, 0xe8));
    p.drawRect(QRectF(16 + 4 * i, 20 - 4 * i, 24, 28));
  }
  p.setPen(QPen(QColor(0x6b, 0x77, 0x85), 2));
  for (int line = 0; line < 4; ++line) p.drawLine(QPointF(20, 27 + 5 * line), QPointF(36, 27 + 5 * line));
}

}  // namespace

QPixmap bannerIcon(BannerIcon icon) {
  QPixmap pixmap = blank(kIconSize, kIconSize);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case BannerIcon::Save: paintSave(p); break;
    case BannerIcon::Help: paintHelp(p); break;
    case BannerIcon::Home: paintHome(p); break;
    case BannerIcon::Contact: paintContact(p); break;
    case BannerIcon::MoreSoftware: paintMoreSoftware(p); break;
    case BannerIcon::BatchTool: paintBatchTool(p); break;
  }
  return pixmap;
}

QPixmap logoPicture() {
  QPixmap pixmap = blank(145, 64);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A magnifier to the left of the name.
  p.setPen(QPen(QColor(0xd2, 0x4a, 0x1e), 5, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(22, 26), 13, 13);
  p.drawLine(QPointF(32, 36), QPointF(42, 47));
  QFont name = heiFont(26, true);
  p.setFont(name);
  p.setPen(QColor(0x23, 0x3a, 0x5e));
  p.drawText(QRectF(46, 4, 99, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kestrix"));
  p.setFont(songFont(12));
  p.setPen(QColor(0x55, 0x5f, 0x6d));
  p.drawText(QRectF(47, 38, 98, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral(u"关键词查询导出"));
  return pixmap;
}

QIcon programIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64}) {
    QPixmap pixmap = blank(size, size);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf4, 0xf1, 0xe8));
    p.drawRoundedRect(QRectF(4, 4, 56, 56), 8, 8);
    p.setPen(QPen(QColor(0x9a, 0xa4, 0xb0), 4));
    for (int line = 0; line < 4; ++line) p.drawLine(QPointF(12, 14 + 11 * line), QPointF(52, 14 + 11 * line));
    p.setPen(QPen(QColor(0xd2, 0x4a, 0x1e), 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(27, 27), 14, 14);
    p.drawLine(QPointF(38, 38), QPointF(54, 54));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace kx::app
