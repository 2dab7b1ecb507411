// The picked rows of the result list, kept as ranges: picking every one of
// millions of rows costs one range, and a row's test is a binary search.
#pragma once

#include <vector>

namespace kx::app {

class RowSelection {
 public:
  struct Range {
    int first;
    int last;  // inclusive
  };

  // Picks rows a..b, in either order; rows already picked stay picked.
  void add(int a, int b);
  // Picks row when it is not picked, and drops it when it is.
  void toggle(int row);
  void clear() { ranges_.clear(); }

  bool contains(int row) const;
  bool isEmpty() const { return ranges_.empty(); }
  // Sorted, apart (never touching) and non-empty ranges.
  const std::vector<Range>& ranges() const { return ranges_; }

 private:
  std::vector<Range> ranges_;
};

}  // namespace kx::app
