#include "search/run/keyword_list.h"

#include <gtest/gtest.h>

#include <random>

namespace kx {
namespace {

// Rows of every size, empty ones and ones larger than a chunk, added one by
// one and as export-format blocks, read back in order across chunk edges.
TEST(KeywordList, HoldsEveryRowAcrossChunksWhicheverWayItCame) {
  std::mt19937 rng(3);
  std::vector<std::string> want;
  KeywordList list;
  for (int round = 0; round < 400; ++round) {
    std::string block;
    for (auto n = rng() % 2000; n > 0; --n) {
      std::string kw(rng() % 40, static_cast<char>('a' + rng() % 26));
      if (want.size() == 100000 || want.size() == 100001) kw.assign(5 << 20, 'x');
      want.push_back(kw);
      if (round % 2) {
        list.append(kw);
      } else {
        block += kw + "\r\n";
      }
    }
    list.appendLines(block);
  }
  ASSERT_EQ(list.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) ASSERT_EQ(list.at(i), want[i]) << i;
  list.clear();
  EXPECT_EQ(list.size(), 0u);
  list.append("again");
  EXPECT_EQ(list.at(0), "again");
}

}  // namespace
}  // namespace kx
