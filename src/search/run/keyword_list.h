// The result list's content: keywords as read, in one byte arena plus offsets,
// so millions of rows cost little more than their bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/run/result_sink.h"

namespace kx {

class KeywordList {
 public:
  KeywordList() { ends_.reserve(1024); }

  // Appends one row holding keyword (GBK bytes, copied).
  void append(std::string_view keyword) {
    arena_.append(keyword);
    ends_.push_back(arena_.size());
  }

  // Removes every row.
  void clear() {
    arena_.clear();
    arena_.shrink_to_fit();
    ends_.clear();
    ends_.shrink_to_fit();
  }

  std::size_t size() const { return ends_.size(); }

  // The bytes of row i (0-based, i < size()); valid until the next append or clear.
  std::string_view at(std::size_t i) const {
    std::size_t begin = i ? ends_[i - 1] : 0;
    return std::string_view(arena_).substr(begin, ends_[i] - begin);
  }

 private:
  std::string arena_;
  std::vector<std::size_t> ends_;  // one past the last byte of each row
};

// The sink of a list search: every match becomes a new last row.
class ListSink : public ResultSink {
 public:
  // list must outlive the sink.
  explicit ListSink(KeywordList& list) : list_(list) {}
  void add(std::string_view keyword) override { list_.append(keyword); }

 private:
  KeywordList& list_;
};

}  // namespace kx
