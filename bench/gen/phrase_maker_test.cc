#include "phrase_maker.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>

#include "text/gbk_codec.h"

namespace kxbench {
namespace {

constexpr const char* kDict = "/usr/lib/python3/dist-packages/jieba/dict.txt";
constexpr int kSample = 50000;

std::string gbk(const char* utf8) { return *kx::utf8ToGbk(utf8); }

class PhraseMakerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ifstream in(kDict);
    if (!in) GTEST_SKIP() << "word list not installed: " << kDict;
    vocab_.load(in);
    ASSERT_GT(vocab_.leadSize(), 10000u);
  }

  // Checks what every stored keyword must satisfy for the store to hold it
  // as one line under a letter file.
  static void expectWellFormed(const std::string& keyword) {
    ASSERT_FALSE(keyword.empty());
    const unsigned char first = static_cast<unsigned char>(keyword[0]);
    EXPECT_TRUE(first < 0x80 ? std::isalnum(first) != 0 : isLevelOneChinese(keyword)) << keyword;
    EXPECT_EQ(keyword.find_first_of("\r\n"), std::string::npos);
    EXPECT_NE(keyword.back(), ' ');
    EXPECT_EQ(keyword.find("  "), std::string::npos);
    const std::string utf8 = kx::gbkToUtf8(keyword);
    EXPECT_EQ(utf8.find("\xEF\xBF\xBD"), std::string::npos) << "not valid GBK";
    EXPECT_EQ(kx::utf8ToGbk(utf8), keyword);
  }

  Vocabulary vocab_;
};

TEST_F(PhraseMakerTest, ProductKeywordsAreWellFormedAndRealistic) {
  const PhraseMaker maker(vocab_);
  Rng rng(3);
  const std::string menStyle = gbk("男式"), brand = gbk("阿迪达斯");
  const std::regex latinThenDigit("^[a-z]+[0-9]");
  std::size_t bytes = 0, menStyleHits = 0, brandFirst = 0, latinDigit = 0, withSpace = 0,
              upper = 0, digitFirst = 0;
  std::string keyword;
  for (int i = 0; i < kSample; ++i) {
    maker.product(rng, keyword);
    expectWellFormed(keyword);
    bytes += keyword.size();
    menStyleHits += keyword.find(menStyle) != std::string::npos;
    brandFirst += keyword.rfind(brand, 0) == 0;
    latinDigit += std::regex_search(keyword, latinThenDigit);
    withSpace += keyword.find(' ') != std::string::npos;
    upper += keyword.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") != std::string::npos;
    digitFirst += std::isdigit(static_cast<unsigned char>(keyword[0])) != 0;
  }
  const double mean = static_cast<double>(bytes) / kSample;
  EXPECT_GE(mean, 14.0);
  EXPECT_LE(mean, 20.0);
  // Each benchmark query must find a share that is neither empty nor most of
  // the store: between 0.2% and 10% of the keywords.
  for (std::size_t hits : {menStyleHits, brandFirst, latinDigit, digitFirst}) {
    EXPECT_GT(hits, kSample / 500u);
    EXPECT_LT(hits, kSample / 10u);
  }
  EXPECT_GT(withSpace, kSample / 5u);
  EXPECT_GT(upper, kSample / 20u);
}

TEST_F(PhraseMakerTest, StoreNamesEndInAShopWord) {
  const PhraseMaker maker(vocab_);
  Rng rng(5);
  const std::string shop = gbk("店"), studio = gbk("工作室");
  std::string keyword;
  for (int i = 0; i < 5000; ++i) {
    maker.store(rng, keyword);
    expectWellFormed(keyword);
    const bool endsShop = keyword.size() >= shop.size() && keyword.ends_with(shop);
    EXPECT_TRUE(endsShop || keyword.ends_with(studio)) << kx::gbkToUtf8(keyword);
  }
}

TEST_F(PhraseMakerTest, SameSeedGivesSameKeywords) {
  const PhraseMaker maker(vocab_);
  Rng a(11), b(11), c(12);
  std::string x, y, z;
  int different = 0;
  for (int i = 0; i < 1000; ++i) {
    maker.product(a, x);
    maker.product(b, y);
    maker.product(c, z);
    ASSERT_EQ(x, y);
    different += x != z;
  }
  EXPECT_GT(different, 900);
}

}  // namespace
}  // namespace kxbench
