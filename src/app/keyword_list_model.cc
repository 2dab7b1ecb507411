#include "app/keyword_list_model.h"

#include <QStringView>
#include <algorithm>

#include "app/gbk_qt.h"
#include "text/gbk_codec.h"

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

QString KeywordListModel::rowsText(const RowSelection& selection) const {
  // A GBK byte never makes more than one UTF-16 unit, so one allocation of
  // bytes plus line breaks holds the text; the part never written stays
  // untouched. The rows' bytes lie one after another in the arena.
  qsizetype bound = 0;
  for (const RowSelection::Range& range : selection.ranges()) {
    if (range.first >= shownRows_) break;
    const int last = std::min(range.last, shownRows_ - 1);
    const std::string_view first = keywords_.at(static_cast<std::size_t>(range.first));
    const std::string_view end = keywords_.at(static_cast<std::size_t>(last));
    bound += (end.data() + end.size() - first.data()) + (last - range.first + 1);
  }
  QString text;
  text.reserve(bound);
  std::u16string line;
  bool firstLine = true;
  for (const RowSelection::Range& range : selection.ranges()) {
    const int last = std::min(range.last, shownRows_ - 1);
    for (int row = range.first; row <= last; ++row) {
      line.clear();
      kx::appendGbkAsUtf16(keywords_.at(static_cast<std::size_t>(row)), line);
      if (!firstLine) text += u'\n';
      firstLine = false;
      text += QStringView(line);
    }
  }
  return text;
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
