// A small seeded generator whose sequence is the same on every platform and
// standard library, so that a seed always yields the same store.
#pragma once

#include <cstdint>

namespace kxbench {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  // The next 64 random bits (splitmix64).
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // A whole number in [0, n); n must be positive. The modulo bias is far
  // below anything a benchmark store could show.
  std::uint64_t below(std::uint64_t n) { return next() % n; }

  // A number in [0, 1) with 53 random bits.
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

  // True with probability p.
  bool chance(double p) { return unit() < p; }

 private:
  std::uint64_t state_;
};

}  // namespace kxbench
