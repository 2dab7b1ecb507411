// The result list's content: keywords as read, in byte chunks plus offsets,
// so millions of rows cost little more than their bytes and growing never
// copies what is already stored.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/big_memory.h"
#include "search/run/result_sink.h"

namespace kx {

class KeywordList {
 public:
  KeywordList() = default;
  KeywordList(const KeywordList&) = delete;
  KeywordList& operator=(const KeywordList&) = delete;

  // Appends one row holding keyword (GBK bytes, copied).
  void append(std::string_view keyword);

  // Appends one row for each line of lines, every line ending in CR LF (the
  // export format), without its CR LF.
  void appendLines(std::string_view lines);

  // Removes every row and gives the memory back.
  void clear();

  std::size_t size() const { return size_; }

  // The bytes of row i (0-based, i < size()); valid until the next clear.
  std::string_view at(std::size_t i) const;

 private:
  // Rows never straddle chunks; a row longer than a chunk gets one of its own.
  // A chunk is one allocation from allocateBig: the ends of its rows first,
  // then their bytes, so that a list of millions of rows faults in huge pages
  // rather than a page at a time.
  struct Chunk {
    struct Release {
      void operator()(char* p) const { releaseBig(p); }
    };
    std::unique_ptr<char[], Release> memory;
    std::uint32_t* ends = nullptr;  // one past the last byte of each row, within bytes
    std::size_t rowCapacity = 0;
    std::size_t rows = 0;
    char* bytes = nullptr;
    std::size_t capacity = 0;
    std::size_t used = 0;
    std::size_t firstRow = 0;
  };

  Chunk& roomFor(std::size_t bytes);

  std::vector<Chunk> chunks_;
  std::size_t size_ = 0;
};

// The sink of a list search: every match becomes a new last row.
class ListSink : public ResultSink {
 public:
  // list must outlive the sink.
  explicit ListSink(KeywordList& list) : list_(list) {}
  void add(std::string_view keyword) override { list_.append(keyword); }
  void addLines(std::string_view lines, long) override { list_.appendLines(lines); }

 private:
  KeywordList& list_;
};

}  // namespace kx
