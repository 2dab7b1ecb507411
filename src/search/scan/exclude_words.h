// Words a keyword must not hold (a miner's 否定词: competitors' brands, words
// the seller cannot use). A word counts only where it begins on a character
// boundary of the keyword, as in a middle search.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/scan/multi_literal.h"

namespace kx {

class ExcludeWords {
 public:
  // words: GBK; empty ones are ignored.
  explicit ExcludeWords(std::vector<std::string> words);

  bool empty() const { return search_.empty(); }

  // Whether keyword holds any of the words. Safe on several threads at once.
  bool excludes(std::string_view keyword) const;

 private:
  std::vector<std::string> words_;
  MultiLiteral search_;
};

}  // namespace kx
