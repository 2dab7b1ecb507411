#include "app/fitted_line_edit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <optional>
#include <utility>

namespace kx::app {
namespace {

// Rows that text inks when drawn with its baseline on row 0: first and last,
// none when nothing is drawn. Measured on drawn pixels, because a glyph's
// outline box is rounded outwards and may claim a row that hinting leaves empty.
std::optional<std::pair<int, int>> inkRows(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  const int baseline = 2 * metrics.height();
  QImage image(metrics.horizontalAdvance(text) + 2 * metrics.height(), 4 * metrics.height(), QImage::Format_Grayscale8);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(metrics.height(), baseline, text);
  }
  int first = -1;
  int last = -1;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* line = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (line[x] != 255) {
        if (first < 0) first = y;
        last = y;
        break;
      }
    }
  }
  if (first < 0) return std::nullopt;
  return std::pair(first - baseline, last - baseline);
}

}  // namespace

void FittedLineEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) fitText();
}

void FittedLineEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  fitText();
}

void FittedLineEdit::fitText() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  const QFontMetrics metrics = fontMetrics();
  // Without any ink to go by, the line box it is.
  const auto [inkTop, inkBottom] = inkRows(font(), QStringLiteral(u"阿国龍Hdgjpqy"))
                                        .value_or(std::pair(-metrics.ascent(), metrics.descent() - 1));
  // Ink taller than the inside keeps the descenders in and lets the tops of
  // the tallest ideographs, a faint antialiased row, reach into the frame.
  const int spare = inside.height() - (inkBottom - inkTop + 1);
  const int baseline = inside.top() + (spare >= 0 ? spare / 2 : spare) - inkTop;
  // QLineEdit draws a bottom-aligned line box one pixel above the bottom of
  // its text rectangle; the bottom text margin moves that rectangle so that
  // the baseline lands where the ink is centred. A negative margin lets the
  // clip reach into the frame, but the line box ends with the descenders, so
  // nothing is drawn there.
  const int lineTop = baseline - metrics.ascent();
  const int textBottom = lineTop + metrics.height() + 1;
  const int bottomMargin = inside.bottom() + 1 - textBottom;
  const int topMargin = std::min(0, baseline + inkTop - inside.top());
  setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  setTextMargins(0, topMargin, 0, bottomMargin);
}

}  // namespace kx::app
