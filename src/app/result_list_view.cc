#include "app/result_list_view.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>
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

  menu_ = new QMenu(this);
  connect(menu_->addAction(QStringLiteral(u"复制")), &QAction::triggered, this, &ResultListView::copySelection);

  auto rowsChanged = [this] {
    updateScrollRange();
    viewport()->update();
  };
  connect(&model_, &QAbstractItemModel::rowsInserted, this, rowsChanged);
  connect(&model_, &QAbstractItemModel::modelReset, this, [this, rowsChanged] {
    selection_.clear();
    current_ = -1;
    anchor_ = -1;
    rowsChanged();
  });
  connect(header_, &QHeaderView::sectionResized, viewport(), [this] { viewport()->update(); });
}

int ResultListView::rowHeight() const { return fontMetrics().height() + 2; }

int ResultListView::visibleRows() const { return std::max(1, viewport()->height() / rowHeight()); }

QRect ResultListView::rowRect(int row) const {
  return QRect(0, (row - topRow()) * rowHeight(), std::min(viewport()->width(), header_->sectionSize(0)), rowHeight());
}

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

void ResultListView::setCurrentRow(int row) { pickRow(row, Pick::Only); }

void ResultListView::pickRow(int row, Pick how) {
  const int rows = model_.rowCount();
  if (rows == 0) return;
  current_ = std::clamp(row, 0, rows - 1);
  if (anchor_ < 0) anchor_ = current_;
  switch (how) {
    case Pick::Only:
      selection_.clear();
      selection_.add(current_, current_);
      anchor_ = current_;
      break;
    case Pick::Range:
      selection_.clear();
      selection_.add(anchor_, current_);
      break;
    case Pick::AddRange: selection_.add(anchor_, current_); break;
    case Pick::Toggle:
      selection_.toggle(current_);
      anchor_ = current_;
      break;
  }
  scrollToRow(current_);
  viewport()->update();
}

void ResultListView::copySelection() {
  if (selection_.isEmpty()) return;
  QApplication::clipboard()->setText(model_.rowsText(selection_));
}

void ResultListView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
  const int first = topRow();
  const int last = std::min(model_.rowCount(), first + visibleRows() + 1);
  for (int row = first; row < last; ++row) {
    const QRect cell = rowRect(row);
    const bool picked = selection_.contains(row);
    if (picked) {
      painter.fillRect(cell, palette().brush(group, QPalette::Highlight));
      painter.setPen(palette().color(group, QPalette::HighlightedText));
    } else {
      painter.setPen(palette().color(QPalette::Text));
    }
    painter.drawText(cell.adjusted(4, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     model_.data(model_.index(row, 0)).toString());
    if (row == current_ && hasFocus()) {
      QStyleOptionFocusRect option;
      option.initFrom(this);
      option.rect = cell;
      option.backgroundColor = palette().color(group, picked ? QPalette::Highlight : QPalette::Base);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
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
  if (row >= model_.rowCount()) return;
  const Qt::KeyboardModifiers keys = event->modifiers();
  if (event->button() == Qt::RightButton) {
    // The menu acts on the picked rows; a click outside them picks anew.
    if (!selection_.contains(row)) pickRow(row, Pick::Only);
  } else if (event->button() == Qt::LeftButton) {
    if (keys & Qt::ShiftModifier) {
      pickRow(row, keys & Qt::ControlModifier ? Pick::AddRange : Pick::Range);
    } else {
      pickRow(row, keys & Qt::ControlModifier ? Pick::Toggle : Pick::Only);
    }
  }
}

void ResultListView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    copySelection();
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    if (model_.rowCount() > 0) {
      selection_.clear();
      selection_.add(0, model_.rowCount() - 1);
      viewport()->update();
    }
    return;
  }
  const int page = visibleRows();
  const Pick how = event->modifiers() & Qt::ShiftModifier ? Pick::Range : Pick::Only;
  switch (event->key()) {
    case Qt::Key_Up: pickRow(current_ - 1, how); break;
    case Qt::Key_Down: pickRow(current_ + 1, how); break;
    case Qt::Key_PageUp: pickRow(current_ - page, how); break;
    case Qt::Key_PageDown: pickRow(current_ + page, how); break;
    case Qt::Key_Home: pickRow(0, how); break;
    case Qt::Key_End: pickRow(model_.rowCount() - 1, how); break;
    default: QAbstractScrollArea::keyPressEvent(event); return;
  }
}

void ResultListView::contextMenuEvent(QContextMenuEvent* event) {
  menu_->actions().constFirst()->setEnabled(!selection_.isEmpty());
  menu_->exec(event->globalPos());
}

void ResultListView::scrollContentsBy(int, int) { viewport()->update(); }

}  // namespace kx::app
