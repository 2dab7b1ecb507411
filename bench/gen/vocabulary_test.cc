#include "vocabulary.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "text/gbk_codec.h"
#include "weighted_picker.h"

namespace kxbench {
namespace {

std::string gbk(const char* utf8) { return *kx::utf8ToGbk(utf8); }

TEST(VocabularyTest, KeepsShortChineseContentWordsOnly) {
  std::istringstream dict(
      "男式 23 n\n"
      "跑步 10 v\n"
      "亍亍 3 n\n"              // kept, but level 2 cannot start a keyword
      "张三 100 nr\n"           // person name
      "B超 3 n\n"               // Latin inside
      "鞋 50 n\n"               // one character
      "中华人民共和国 5 ns\n"   // too long
      "😀😀 3 n\n"              // not GBK
      "阿迪 x n\n"              // bad frequency
      "阿迪\n"                  // no tag
      "运动鞋 0 n\n"            // no weight
      "运动鞋 7 n");            // no final newline
  Vocabulary vocab;
  vocab.load(dict);
  EXPECT_EQ(vocab.size(), 4u);
  EXPECT_EQ(vocab.leadSize(), 3u);

  Rng rng(1);
  std::set<std::string> seen, leads;
  for (int i = 0; i < 400; ++i) {
    seen.insert(std::string(vocab.any(rng)));
    leads.insert(std::string(vocab.lead(rng)));
  }
  EXPECT_EQ(seen, (std::set<std::string>{gbk("男式"), gbk("跑步"), gbk("亍亍"), gbk("运动鞋")}));
  EXPECT_EQ(leads, (std::set<std::string>{gbk("男式"), gbk("跑步"), gbk("运动鞋")}));
}

TEST(VocabularyTest, LevelOneIsTheRangeOrderedByPronunciation) {
  EXPECT_TRUE(isLevelOneChinese(gbk("阿")));   // B0A2
  EXPECT_TRUE(isLevelOneChinese(gbk("座")));   // D7F9, the last one
  EXPECT_FALSE(isLevelOneChinese("\xD7\xFA"));  // unassigned
  EXPECT_FALSE(isLevelOneChinese(gbk("亍")));  // D8A1, level 2
  EXPECT_FALSE(isLevelOneChinese(gbk("丂")));  // 8140, outside GB2312
  EXPECT_FALSE(isLevelOneChinese(gbk("Ａ")));  // full-width form
  EXPECT_FALSE(isLevelOneChinese("\xB0"));      // lone lead byte
  EXPECT_FALSE(isLevelOneChinese("A"));
}

TEST(WeightedPickerTest, PicksInProportionToWeight) {
  WeightedPicker picker;
  picker.add(1);
  picker.add(3);
  picker.add(0.000001);
  Rng rng(42);
  int counts[3] = {};
  const int n = 40000;
  for (int i = 0; i < n; ++i) ++counts[picker.pick(rng)];
  EXPECT_NEAR(counts[0], n / 4, n / 50);
  EXPECT_NEAR(counts[1], n * 3 / 4, n / 50);
  EXPECT_LT(counts[2], 5);
}

TEST(RngTest, SameSeedSameSequenceAndBoundsHold) {
  Rng a(7), b(7), c(8);
  bool differs = false;
  for (int i = 0; i < 1000; ++i) {
    const std::uint64_t x = a.next();
    EXPECT_EQ(x, b.next());
    differs |= x != c.next();
    const double u = a.unit();
    EXPECT_GE(u, 0.0);
    EXPECT_LT(u, 1.0);
    EXPECT_LT(a.below(3), 3u);
    b.unit();
    b.below(3);
  }
  EXPECT_TRUE(differs);
}

}  // namespace
}  // namespace kxbench
