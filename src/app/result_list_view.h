// The report-style result list: a column header over rows of one height,
// painted straight from the model. The view keeps nothing per row, so a run
// that lists millions of keywords never waits for a layout, and any row is
// one scroll away.
#pragma once

#include <QAbstractScrollArea>

class QHeaderView;

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

  // The row the user picked, -1 for none.
  int currentRow() const { return current_; }
  void setCurrentRow(int row);

  QHeaderView* header() const { return header_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int rowHeight() const;
  void updateScrollRange();
  void placeHeader();

  KeywordListModel& model_;
  QHeaderView* header_;
  int current_ = -1;
};

}  // namespace kx::app
