#include "app/row_selection.h"

#include <algorithm>

namespace kx::app {

void RowSelection::add(int a, int b) {
  Range merged{std::min(a, b), std::max(a, b)};
  // Every range that overlaps or touches the new one melts into it.
  auto begin = std::lower_bound(ranges_.begin(), ranges_.end(), merged.first,
                                [](const Range& r, int row) { return r.last + 1 < row; });
  auto end = begin;
  while (end != ranges_.end() && end->first <= merged.last + 1) {
    merged.first = std::min(merged.first, end->first);
    merged.last = std::max(merged.last, end->last);
    ++end;
  }
  begin = ranges_.erase(begin, end);
  ranges_.insert(begin, merged);
}

void RowSelection::toggle(int row) {
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), row, [](const Range& r, int x) { return r.last < x; });
  if (it == ranges_.end() || it->first > row) {
    add(row, row);
    return;
  }
  const Range old = *it;
  it = ranges_.erase(it);
  if (row < old.last) it = ranges_.insert(it, Range{row + 1, old.last});
  if (old.first < row) ranges_.insert(it, Range{old.first, row - 1});
}

bool RowSelection::contains(int row) const {
  auto it = std::lower_bound(ranges_.begin(), ranges_.end(), row, [](const Range& r, int x) { return r.last < x; });
  return it != ranges_.end() && it->first <= row;
}

}  // namespace kx::app
