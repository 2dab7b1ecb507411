#include "search/scan/multi_literal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace kx {
namespace {

// Random bytes from a small alphabet (high bytes included), so that patterns
// of every length class hit often and share keys.
std::string randomBytes(std::mt19937& rng, std::size_t maxLen) {
  static const char kAlphabet[] = {'a', 'b', '\xB0', '\xA1', '\x81', '\xFE'};
  std::string s(std::uniform_int_distribution<std::size_t>(0, maxLen)(rng), 'a');
  for (char& c : s) c = kAlphabet[std::uniform_int_distribution<int>(0, 5)(rng)];
  return s;
}

TEST(MultiLiteral, FindsWhatANaiveSearchFinds) {
  std::mt19937 rng(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> patterns;
    const int count = std::uniform_int_distribution<int>(1, round % 10 == 0 ? 400 : 8)(rng);
    for (int i = 0; i < count; ++i) patterns.push_back(randomBytes(rng, 7));
    const std::string text = randomBytes(rng, 60);

    std::vector<MultiLiteral::Hit> want;
    std::vector<std::uint32_t> wantStart, wantEnd;
    for (std::uint32_t id = 0; id < patterns.size(); ++id) {
      const std::string& p = patterns[id];
      if (p.empty()) continue;
      for (std::size_t pos = 0; pos + p.size() <= text.size(); ++pos) {
        if (text.compare(pos, p.size(), p) == 0) want.push_back({static_cast<std::uint32_t>(pos), id});
      }
      if (text.starts_with(p)) wantStart.push_back(id);
      if (text.ends_with(p)) wantEnd.push_back(id);
    }
    std::vector<MultiLiteral::Hit> got;
    MultiLiteral(patterns, Anchor::None).findAll(text, got);
    // Positions ascend; within one position any order.
    ASSERT_TRUE(std::is_sorted(got.begin(), got.end(), [](auto& a, auto& b) { return a.pos < b.pos; }));
    auto key = [](const MultiLiteral::Hit& h) { return std::pair(h.pos, h.id); };
    std::vector<std::pair<std::uint32_t, std::uint32_t>> g, w;
    for (auto& h : got) g.push_back(key(h));
    for (auto& h : want) w.push_back(key(h));
    std::sort(g.begin(), g.end());
    std::sort(w.begin(), w.end());
    ASSERT_EQ(g, w) << "round " << round;

    for (auto [anchor, expected] : {std::pair(Anchor::LineStart, wantStart), std::pair(Anchor::LineEnd, wantEnd)}) {
      std::vector<std::uint32_t> ids;
      MultiLiteral(patterns, anchor).findAnchored(text, ids);
      std::sort(ids.begin(), ids.end());
      ASSERT_EQ(ids, expected) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace kx
