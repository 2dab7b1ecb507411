// Picks an index with probability proportional to its weight.
#pragma once

#include <cstddef>
#include <vector>

#include "rng.h"

namespace kxbench {

class WeightedPicker {
 public:
  // Appends an item of the given weight (> 0); its index is the number of
  // items added before it.
  void add(double weight);

  // The index of a randomly chosen item; at least one item must be present.
  std::size_t pick(Rng& rng) const;

  std::size_t size() const { return cumulative_.size(); }

 private:
  std::vector<double> cumulative_;  // running sums, so pick is a binary search
};

}  // namespace kxbench
