// Product-like words taken from a word list of "word frequency tag" lines
// (UTF-8), kept as GBK and drawn with a weight that grows with frequency.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "rng.h"
#include "weighted_picker.h"

namespace kxbench {

// True for a GBK double-byte character that the store files under a letter
// in every case: GB2312 level 1 (B0A1..D7F9), ordered by pronunciation.
bool isLevelOneChinese(std::string_view gbk);

class Vocabulary {
 public:
  // Reads every line of in. A word is kept when its tag names a noun, verb,
  // adjective, place or organisation, it has 2 to 4 characters, all Chinese,
  // and GBK can hold it; other lines (malformed ones too) are skipped.
  void load(std::istream& in);

  // Number of words kept, and of those that may start a keyword.
  std::size_t size() const { return words_.size(); }
  std::size_t leadSize() const { return leadWords_.size(); }

  // A random word (GBK). The vocabulary must not be empty; the view stays
  // valid as long as the vocabulary.
  std::string_view any(Rng& rng) const { return words_[anyPicker_.pick(rng)]; }

  // A random word whose first character is GB2312 level 1, so that a keyword
  // starting with it always has a letter file. leadSize() must be positive.
  std::string_view lead(Rng& rng) const { return words_[leadWords_[leadPicker_.pick(rng)]]; }

 private:
  std::vector<std::string> words_;
  std::vector<std::size_t> leadWords_;  // indices into words_
  WeightedPicker anyPicker_;
  WeightedPicker leadPicker_;
};

}  // namespace kxbench
