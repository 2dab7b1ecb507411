// Composes keyword phrases the way shoppers type them: brands (Chinese and
// Latin, in mixed case), attributes, product names, model numbers, sizes and
// words from the vocabulary, with or without spaces between the parts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rng.h"
#include "vocabulary.h"
#include "weighted_picker.h"

namespace kxbench {

class PhraseMaker {
 public:
  // vocab must stay alive as long as the maker and hold at least one word
  // that may start a keyword.
  explicit PhraseMaker(const Vocabulary& vocab);

  // Replaces out with one product keyword (GBK). It is never empty, has no
  // leading, trailing or doubled space and starts with an ASCII letter, a
  // digit or a GB2312 level-1 character, so every keyword has a letter file.
  void product(Rng& rng, std::string& out) const;

  // Replaces out with one shop name (GBK), with the same guarantees.
  void store(Rng& rng, std::string& out) const;

 private:
  class List {
   public:
    // entries: UTF-8 text and weight; every text must be GBK-encodable.
    List(std::initializer_list<std::pair<const char*, double>> entries);
    std::string_view pick(Rng& rng) const { return items_[picker_.pick(rng)]; }

   private:
    std::vector<std::string> items_;
    WeightedPicker picker_;
  };

  void productOnce(Rng& rng, std::string& out) const;
  void latinBrand(Rng& rng, std::string& out) const;
  void number(Rng& rng, std::string& out) const;

  const Vocabulary& vocab_;
  const List chineseBrands_, latinBrands_, models_, products_, attributes_, units_, shopSuffixes_;
};

}  // namespace kxbench
