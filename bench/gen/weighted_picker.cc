#include "weighted_picker.h"

#include <algorithm>

namespace kxbench {

void WeightedPicker::add(double weight) {
  cumulative_.push_back((cumulative_.empty() ? 0.0 : cumulative_.back()) + weight);
}

std::size_t WeightedPicker::pick(Rng& rng) const {
  const double target = rng.unit() * cumulative_.back();
  const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
  return std::min(static_cast<std::size_t>(it - cumulative_.begin()), cumulative_.size() - 1);
}

}  // namespace kxbench
