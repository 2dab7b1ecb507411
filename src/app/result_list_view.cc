#include "app/result_list_view.h"

#include <QHeaderView>
#include <QListView>
#include <QScrollBar>

#include "app/keyword_list_model.h"

namespace kx::app {

ResultListView::ResultListView(KeywordListModel& model, int columnWidth, QWidget* parent)
    : QFrame(parent), model_(model) {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Sunken);

  header_ = new QHeaderView(Qt::Horizontal, this);
  header_->setModel(&model_);
  header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header_->setStretchLastSection(false);
  header_->setSectionsClickable(false);
  header_->setDefaultSectionSize(columnWidth);  // also after a model reset
  header_->resizeSection(0, columnWidth);

  list_ = new QListView(this);
  list_->setModel(&model_);
  list_->setFrameShape(QFrame::NoFrame);
  list_->setUniformItemSizes(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // The header follows the list's horizontal scrolling, as one control would.
  connect(list_->horizontalScrollBar(), &QScrollBar::valueChanged, header_, [this](int value) {
    header_->setOffset(value);
  });
}

void ResultListView::scrollToRow(int row) {
  if (row < 0 || row >= model_.rowCount()) return;
  list_->scrollTo(model_.index(row, 0));
}

void ResultListView::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  const QRect inner = contentsRect();
  const int headerHeight = header_->sizeHint().height();
  header_->setGeometry(inner.x(), inner.y(), inner.width(), headerHeight);
  list_->setGeometry(inner.x(), inner.y() + headerHeight, inner.width(), inner.height() - headerHeight);
}

}  // namespace kx::app
