// The result list's model: rows are the GBK bytes of a KeywordList, turned
// into text only when a row is painted. Rows appended to the list become
// visible in batches, when showNewRows is called, never one by one.
#pragma once

#include <QAbstractListModel>
#include <QString>

#include "app/row_selection.h"
#include "search/run/keyword_list.h"

namespace kx::app {

class KeywordListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit KeywordListModel(QObject* parent = nullptr);

  // The rows' store; a ListSink appends to it, showNewRows publishes them.
  KeywordList& keywords() { return keywords_; }
  const KeywordList& keywords() const { return keywords_; }

  // Tells the views about every row appended since the last call.
  void showNewRows();

  // Removes every row, from the store and from the views.
  void clearRows();

  // The text of the rows in selection, one line each, lines apart by "\n",
  // in list order. Rows the views do not know of yet are left out.
  QString rowsText(const RowSelection& selection) const;

  // The title of the only column.
  void setTitle(const QString& title);
  QString title() const { return title_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  KeywordList keywords_;
  int shownRows_ = 0;  // rows the views know of; the store may hold more
  QString title_;
};

}  // namespace kx::app
