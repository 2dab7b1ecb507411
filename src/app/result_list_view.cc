#include "app/result_list_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "app/keyword_list_model.h"

namespace kx::app {

ResultListView::ResultListView(KeywordListModel& model, int columnWidth, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model) {
  header_ = new QHeaderView(Qt::Horizontal, this);
  header_->setModel(&model_);
  header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header_->setStretchLastSection(false);
  header_->setSectionsClickable(false);
  header_->setDefaultSectionSize(columnWidth);  // also after a model reset
  header_->resizeSection(0, columnWidth);

  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);

  auto rowsChanged = [this] {
    if (current_ >= model_.rowCount()) current_ = -1;
    updateScrollRange();
    viewport()->update();
  };
  connect(&model_, &QAbstractItemModel::rowsInserted, this, rowsChanged);
  connect(&model_, &QAbstractItemModel::modelReset, this, rowsChanged);
  connect(header_, &QHeaderView::sectionResized, viewport(), [this] { viewport()->update(); });
}

int ResultListView::rowHeight() const { return fontMetrics().height() + 2; }

int ResultListView::visibleRows() const { return std::max(1, viewport()->height() / rowHeight()); }

int ResultListView::topRow() const { return verticalScrollBar()->value(); }

void ResultListView::updateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(visibleRows());
  bar->setSingleStep(1);
  bar->setRange(0, std::max(0, model_.rowCount() - visibleRows()));
}

void ResultListView::scrollToRow(int row) {
  if (row < 0 || row >= model_.rowCount()) return;
  if (row < topRow()) {
    verticalScrollBar()->setValue(row);
  } else if (row >= topRow() + visibleRows()) {
    verticalScrollBar()->setValue(row - visibleRows() + 1);
  }
}

void ResultListView::setCurrentRow(int row) {
  const int rows = model_.rowCount();
  if (rows == 0) return;
  current_ = std::clamp(row, 0, rows - 1);
  scrollToRow(current_);
  viewport()->update();
}

void ResultListView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = rowHeight();
  const int width = std::min(viewport()->width(), header_->sectionSize(0));
  const int first = topRow();
  const int last = std::min(model_.rowCount(), first + visibleRows() + 1);
  for (int row = first; row < last; ++row) {
    const QRect cell(0, (row - first) * height, width, height);
    if (row == current_) {
      painter.fillRect(cell, palette().brush(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
      painter.setPen(palette().color(hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText));
    } else {
      painter.setPen(palette().color(QPalette::Text));
    }
    painter.drawText(cell.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     model_.data(model_.index(row, 0)).toString());
  }
}

void ResultListView::resizeEvent(QResizeEvent* event) {
  placeHeader();
  QAbstractScrollArea::resizeEvent(event);
  updateScrollRange();
}

void ResultListView::placeHeader() {
  const int headerHeight = header_->sizeHint().height();
  setViewportMargins(0, headerHeight, 0, 0);
  const QRect inner = contentsRect();
  header_->setGeometry(inner.x(), inner.y(), inner.width(), headerHeight);
}

void ResultListView::mousePressEvent(QMouseEvent* event) {
  const int row = topRow() + static_cast<int>(event->position().y()) / rowHeight();
  if (row < model_.rowCount()) setCurrentRow(row);
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
  const int page = visibleRows();
  if (event->matches(QKeySequence::Copy)) {
    if (current_ >= 0) QApplication::clipboard()->setText(model_.data(model_.index(current_, 0)).toString());
    return;
  }
  switch (event->key()) {
    case Qt::Key_Up: setCurrentRow(current_ - 1); break;
    case Qt::Key_Down: setCurrentRow(current_ + 1); break;
    case Qt::Key_PageUp: setCurrentRow(current_ - page); break;
    case Qt::Key_PageDown: setCurrentRow(current_ + page); break;
    case Qt::Key_Home: setCurrentRow(0); break;
    case Qt::Key_End: setCurrentRow(model_.rowCount() - 1); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
}

void ResultListView::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace kx::app
