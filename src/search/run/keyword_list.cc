#include "search/run/keyword_list.h"

#include <algorithm>
#include <cstring>

#include "search/scan/byte_scan.h"

namespace kx {
namespace {

// A chunk is 4 MiB, 20 bytes a row: 4 for its end and 16 for its bytes,
// about the mean of a keyword, so that for most lists both parts fill up at
// about the same time.
constexpr std::size_t kChunkBytes = 4 << 20;
constexpr std::size_t kRowBytes = 20;

}  // namespace

KeywordList::Chunk& KeywordList::roomFor(std::size_t bytes) {
  if (chunks_.empty() || chunks_.back().rows == chunks_.back().rowCapacity ||
      chunks_.back().capacity - chunks_.back().used < bytes) {
    std::size_t rowCapacity = kChunkBytes / kRowBytes;
    std::size_t size = kChunkBytes;
    if (rowCapacity * sizeof(std::uint32_t) + bytes > size) {
      rowCapacity = 1;
      size = sizeof(std::uint32_t) + bytes;
    }
    Chunk chunk;
    chunk.memory.reset(allocateBig(&size));  // left unset: rows are written before they are read
    chunk.ends = reinterpret_cast<std::uint32_t*>(chunk.memory.get());
    chunk.rowCapacity = rowCapacity;
    chunk.bytes = chunk.memory.get() + rowCapacity * sizeof(std::uint32_t);
    chunk.capacity = size - rowCapacity * sizeof(std::uint32_t);
    chunk.firstRow = size_;
    chunks_.push_back(std::move(chunk));
  }
  return chunks_.back();
}

void KeywordList::append(std::string_view keyword) {
  Chunk& chunk = roomFor(keyword.size());
  if (!keyword.empty()) std::memcpy(chunk.bytes + chunk.used, keyword.data(), keyword.size());
  chunk.used += keyword.size();
  chunk.ends[chunk.rows++] = static_cast<std::uint32_t>(chunk.used);
  ++size_;
}

void KeywordList::appendLines(std::string_view lines) {
  constexpr std::size_t kStretch = 4096;
  std::uint32_t lfs[kStretch];
  std::size_t start = 0;
  for (std::size_t at = 0; at < lines.size(); at += kStretch) {
    const std::size_t count = findLineEnds(lines.data() + at, std::min(kStretch, lines.size() - at), lfs);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t lf = at + lfs[k];
      append(lines.substr(start, lf - 1 - start));  // every line ends in CR LF
      start = lf + 1;
    }
  }
}

void KeywordList::clear() {
  chunks_.clear();
  chunks_.shrink_to_fit();
  size_ = 0;
}

std::string_view KeywordList::at(std::size_t i) const {
  // The last chunk whose first row is at most i.
  const auto it = std::upper_bound(chunks_.begin(), chunks_.end(), i,
                                   [](std::size_t row, const Chunk& c) { return row < c.firstRow; });
  const Chunk& chunk = *(it - 1);
  const std::size_t k = i - chunk.firstRow;
  const std::size_t begin = k ? chunk.ends[k - 1] : 0;
  return {chunk.bytes + begin, chunk.ends[k] - begin};
}

}  // namespace kx
