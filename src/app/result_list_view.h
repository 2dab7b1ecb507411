// The report-style result list: a column header over a list of uniform rows.
// A plain list view keeps no per-row records, so millions of rows lay out and
// scroll at once.
#pragma once

#include <QFrame>

class QHeaderView;
class QListView;

namespace kx::app {

class KeywordListModel;

class ResultListView : public QFrame {
  Q_OBJECT

 public:
  // model must outlive the view.
  ResultListView(KeywordListModel& model, int columnWidth, QWidget* parent = nullptr);

  // Scrolls row (0-based) into view; rows outside the list are ignored.
  void scrollToRow(int row);

  QHeaderView* header() const { return header_; }
  QListView* list() const { return list_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  KeywordListModel& model_;
  QHeaderView* header_;
  QListView* list_;
};

}  // namespace kx::app
