#include "app/keyword_list_model.h"

#include "app/gbk_qt.h"

namespace kx::app {

KeywordListModel::KeywordListModel(QObject* parent)
    : QAbstractListModel(parent), title_(QStringLiteral(u"关键词")) {}

void KeywordListModel::showNewRows() {
  const int total = static_cast<int>(keywords_.size());
  if (total <= shownRows_) return;
  beginInsertRows(QModelIndex(), shownRows_, total - 1);
  shownRows_ = total;
  endInsertRows();
}

void KeywordListModel::clearRows() {
  beginResetModel();
  keywords_.clear();
  shownRows_ = 0;
  endResetModel();
}

void KeywordListModel::setTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  Q_EMIT headerDataChanged(Qt::Horizontal, 0, 0);
}

int KeywordListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : shownRows_; }

QVariant KeywordListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shownRows_) return QVariant();
  return gbkToQString(keywords_.at(static_cast<std::size_t>(index.row())));
}

QVariant KeywordListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section != 0) return QVariant();
  return title_;
}

}  // namespace kx::app
