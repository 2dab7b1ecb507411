// The counts file 词数.ini.
#include "search/store/keyword_counts.h"

#include <gtest/gtest.h>

#include "config/config_store.h"
#include "platform/splice_file.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

std::string crlfJoin(std::initializer_list<std::string> lines) {
  std::string out;
  for (const auto& l : lines) out += (out.empty() ? "" : "\r\n") + l;
  return out;
}

TEST(KeywordCounts, MissingFileIsCreatedEmptyAndCountsAreZero) {
  test::TempDir dir;
  KeywordStore store;
  store.setKeywordCount(KeywordCategory::ProductWords, 1, 99);
  loadCounts(store, dir.path());
  EXPECT_TRUE(fileExists(dir.path() + "/词数.ini"));
  EXPECT_EQ(test::readFile(dir.path() + "/词数.ini"), "");
  for (auto c : {KeywordCategory::ProductWords, KeywordCategory::StoreWords})
    for (int i = 1; i <= kAllIndex; ++i) EXPECT_EQ(store.keywordCount(c, i), 0) << i;
}

TEST(KeywordCounts, ReadsEveryLetterAndAllFromTheFile) {
  test::TempDir dir;
  test::writeFile(dir.path() + "/词数.ini",
                  crlfJoin({gbk("[商品词数]"), "A=10", "B=20", "Z=260", "0-9=270", "all=12345",
                            gbk("[店铺词数]"), "A=1", "0-9=2", "all=3"}));
  KeywordStore store;
  loadCounts(store, dir.path());
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 1), 10);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 2), 20);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 3), 0);  // missing key
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 26), 260);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, kDigitsIndex), 270);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, kAllIndex), 12345);  // not the sum
  EXPECT_EQ(store.keywordCount(KeywordCategory::StoreWords, 1), 1);
  EXPECT_EQ(store.keywordCount(KeywordCategory::StoreWords, kDigitsIndex), 2);
  EXPECT_EQ(store.keywordCount(KeywordCategory::StoreWords, kAllIndex), 3);
}

TEST(KeywordCounts, FractionsAreCutOffAndGarbageIsZero) {
  test::TempDir dir;
  test::writeFile(dir.path() + "/词数.ini",
                  crlfJoin({gbk("[商品词数]"), "A=1234.9", "B=abc", "C=", "D=-5.5", "E=" + gbk("１２"),
                            "F=99999999999", "all=7e3"}));
  KeywordStore store;
  loadCounts(store, dir.path());
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 1), 1234);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 2), 0);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 3), 0);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 4), -5);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 5), 12);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 6), 2147483647);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, kAllIndex), 7000);
}

TEST(KeywordCounts, WriteCountsKeepsTheOtherSection) {
  test::TempDir dir;
  std::array<std::int64_t, kAllIndex + 1> product{}, shop{};
  for (int i = 1; i <= kAllIndex; ++i) {
    product[i] = i * 100;
    shop[i] = i;
  }
  product[kAllIndex] = 9315520;
  ASSERT_TRUE(writeCounts(dir.path(), KeywordCategory::ProductWords, product));
  ASSERT_TRUE(writeCounts(dir.path(), KeywordCategory::StoreWords, shop));
  const std::string text = test::readFile(dir.path() + "/词数.ini");
  // A new section reads A..Z, 0-9, all from the top.
  EXPECT_EQ(text.substr(0, text.find("\r\nB=")), gbk("[商品词数]") + "\r\nA=100");
  EXPECT_NE(text.find("Z=2600\r\n0-9=2700\r\nall=9315520\r\n" + gbk("[店铺词数]") + "\r\nA=1\r\n"), std::string::npos);
  product[1] = 5;
  ASSERT_TRUE(writeCounts(dir.path(), KeywordCategory::ProductWords, product));  // in place
  KeywordStore store;
  loadCounts(store, dir.path());
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, 1), 5);
  EXPECT_EQ(store.keywordCount(KeywordCategory::ProductWords, kAllIndex), 9315520);
  EXPECT_EQ(store.keywordCount(KeywordCategory::StoreWords, kDigitsIndex), 27);
  EXPECT_EQ(store.keywordCount(KeywordCategory::StoreWords, kAllIndex), 28);
  EXPECT_EQ(test::readFile(dir.path() + "/词数.ini").size(), text.size() - 2);  // "100" became "5"
}

TEST(KeywordCounts, WriteCountsFailsWhenTheFileIsHeld) {
  test::TempDir dir;
  ConfigStore holder;
  ASSERT_TRUE(holder.open(dir.path() + "/词数.ini", StorageMode::DiskFile));
  std::array<std::int64_t, kAllIndex + 1> counts{};
  EXPECT_FALSE(writeCounts(dir.path(), KeywordCategory::ProductWords, counts));
  EXPECT_FALSE(writeCounts(dir.path() + "/missing", KeywordCategory::ProductWords, counts));
}

}  // namespace
}  // namespace kx
