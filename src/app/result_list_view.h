// The report-style result list: a column header over rows of one height,
// painted straight from the model. The view keeps nothing per row, so a run
// that lists millions of keywords never waits for a layout, and any row is
// one scroll away. Picked rows are kept as ranges, so picking and copying all
// of them stays quick.
#pragma once

#include <QAbstractScrollArea>

#include "app/row_selection.h"

class QHeaderView;
class QMenu;

namespace kx::app {

class KeywordListModel;

class ResultListView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // model must outlive the view. The only column is columnWidth wide; rows
  // are clipped to it.
  ResultListView(KeywordListModel& model, int columnWidth, QWidget* parent = nullptr);

  // Scrolls as little as needed to show row (0-based); other rows are ignored.
  void scrollToRow(int row);

  // First row shown at the top, and how many rows fit in the view.
  int topRow() const;
  int visibleRows() const;
  // Where row is drawn in the viewport, whether or not that is in sight.
  QRect rowRect(int row) const;

  // The row that has the keyboard's attention, -1 for none.
  int currentRow() const { return current_; }
  // Makes row (clamped to the list) the current and only picked row.
  void setCurrentRow(int row);

  // Puts the picked rows on the clipboard, one line each, in list order.
  void copySelection();

  QHeaderView* header() const { return header_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int rowHeight() const;
  void updateScrollRange();
  void placeHeader();
  // How a click or key picks rows: the row alone, the rows from the anchor
  // instead of or besides those picked, or the row in or out.
  enum class Pick { Only, Range, AddRange, Toggle };
  // Makes row (clamped to the list) the current row and picks as told.
  void pickRow(int row, Pick how);

  KeywordListModel& model_;
  QHeaderView* header_;
  QMenu* menu_;
  int current_ = -1;
  int anchor_ = -1;  // where a Shift-extended pick starts
  RowSelection selection_;
};

}  // namespace kx::app
