// Finds many byte strings at once: every place where any of them occurs in a
// block, or which of them a keyword starts or ends with. Root-word lists of
// thousands of words are searched this way in one pass over the store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/scan/byte_scan.h"

namespace kx {

class MultiLiteral {
 public:
  struct Hit {
    std::uint32_t pos;  // byte offset of the occurrence
    std::uint32_t id;   // index of the pattern in the constructor's list
  };

  // patterns are byte strings; empty ones are never found. anchor None finds
  // occurrences anywhere (findAll); LineStart and LineEnd serve findAnchored.
  MultiLiteral(const std::vector<std::string>& patterns, Anchor anchor);

  bool empty() const { return groups_.empty(); }

  // Appends every occurrence of every pattern in text to out, ordered by
  // position (patterns found at one position in no particular order).
  // text must be shorter than 4 GiB.
  void findAll(std::string_view text, std::vector<Hit>& out) const;

  // Appends to out the id of every pattern that keyword starts with
  // (LineStart) or ends with (LineEnd).
  void findAnchored(std::string_view keyword, std::vector<std::uint32_t>& out) const;

 private:
  // The patterns keyed on their first (or, for LineEnd, last) keyLen bytes:
  // 1 for one-byte patterns, 2 for two and three bytes, 4 for longer ones. A
  // bit filter of the keys rules most positions out with one memory read;
  // the rest look their key up in an open-addressing table of pattern ranges.
  struct Group {
    int keyLen = 0;
    unsigned hashShift = 0;              // 4-byte keys: bit = (key * kMul) >> hashShift
    std::vector<std::uint64_t> filter;   // one bit per key or key hash
    struct Slot {
      std::uint32_t key = 0;
      std::uint32_t begin = 0, end = 0;  // range in ids_; empty when begin == end
    };
    std::vector<Slot> slots;             // size is a power of two
    std::vector<std::uint32_t> ids;      // pattern ids grouped by key

    std::uint32_t bitOf(std::uint32_t key) const {
      return keyLen == 4 ? (key * 0x9E3779B1u) >> hashShift : key;
    }
    bool mayHold(std::uint32_t key) const {
      const std::uint32_t bit = bitOf(key);
      return (filter[bit >> 6] >> (bit & 63)) & 1;
    }
    const Slot* find(std::uint32_t key) const;
  };

  void build(Group& g, const std::vector<std::uint32_t>& members);
  std::uint32_t keyOf(std::string_view pattern, int keyLen) const;
  template <int KeyLen>
  void scanGroup(const Group& g, std::string_view text, std::vector<Hit>& out) const;
  // Appends the ids of g's patterns with key key that occur at text[pos..].
  void verify(const Group& g, std::uint32_t key, std::string_view text, std::size_t pos, std::vector<Hit>* hits,
              std::vector<std::uint32_t>* ids) const;

  const Anchor anchor_;
  std::vector<std::string> patterns_;
  std::vector<Group> groups_;  // only the key lengths in use
};

}  // namespace kx
