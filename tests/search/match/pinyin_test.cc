#include "search/match/pinyin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "search/match/gbk_text.h"

#include "search/store/keyword_store.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

std::string initialOf(const char8_t* ch) { return pinyinInitial(gbk(ch)); }

TEST(PinyinInitial, TableRangesExceptionsAndLevelTwo) {
  EXPECT_EQ(initialOf(u8"阿"), "a");
  EXPECT_EQ(initialOf(u8"调"), "t");  // first-listed reading, not d
  EXPECT_EQ(initialOf(u8"长"), "c");
  EXPECT_EQ(initialOf(u8"行"), "x");
  EXPECT_EQ(initialOf(u8"曾"), "c");
  EXPECT_EQ(initialOf(u8"耙"), "p");
  EXPECT_EQ(initialOf(u8"拽"), "y");
  EXPECT_EQ(pinyinInitial("\xD8\xA1"), "c");  // 亍
  EXPECT_EQ(pinyinInitial("\xD8\xA6"), "s");  // 卅
  EXPECT_EQ(pinyinInitial("\xD8\xAA"), "g");  // 鬲
  EXPECT_EQ(pinyinInitial("\xD9\xA4"), "j");  // 伽
  EXPECT_EQ(pinyinInitial("\xE3\xDF"), "");   // 氵, a radical
  EXPECT_EQ(pinyinInitial("\xDF\xBC"), "");   // 呒
  EXPECT_EQ(pinyinInitial("\xD7\xFA"), "");   // unassigned
  EXPECT_EQ(pinyinInitial("\xA3\xC1"), "");   // Ａ
  EXPECT_EQ(pinyinInitial("a"), "");
  EXPECT_EQ(pinyinInitial("\xD5\x5C"), "");   // 誠 lies outside GB2312
}

TEST(PinyinInitial, EveryLetterOfTheTableIsAnInitial) {
  int withReading = 0;
  for (int lead = 0xB0; lead <= 0xF7; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE; ++trail) {
      const char ch[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      char letter = pinyinInitialLetter(std::string_view(ch, 2));
      if (!letter) continue;
      ++withReading;
      EXPECT_TRUE(letter >= 'a' && letter <= 'z' && letter != 'i' && letter != 'u' && letter != 'v');
    }
  }
  EXPECT_EQ(withReading, 6768 - 38 - 5);
}

TEST(PinyinPrefixMatch, InitialsCharactersAndCase) {
  const std::string target = gbk(u8"阿迪达斯 男式鞋");
  for (const char8_t* q : {u8"ad", u8"adds", u8"ADDS", u8"阿dds", u8"adds nsx", u8""})
    EXPECT_TRUE(pinyinPrefixMatch(target, gbk(q))) << reinterpret_cast<const char*>(q);
  EXPECT_FALSE(pinyinPrefixMatch(target, "ds"));
  EXPECT_FALSE(pinyinPrefixMatch(gbk(u8"阿迪达"), "adds"));  // longer than the keyword
  EXPECT_TRUE(pinyinPrefixMatch("Nike Air", "nike"));
  EXPECT_TRUE(pinyinPrefixMatch(gbk(u8"3D眼镜"), "3dyj"));
  EXPECT_TRUE(pinyinPrefixMatch(gbk(u8"3D眼镜"), "3Dyj"));
  EXPECT_FALSE(pinyinPrefixMatch(gbk(u8"阿迪"), gbk(u8"啊")));  // a query character is never turned into its initial
  EXPECT_TRUE(pinyinPrefixMatch(gbk(u8"氵水"), gbk(u8"氵s")));
  EXPECT_FALSE(pinyinPrefixMatch(gbk(u8"氵水"), "ss"));
  EXPECT_FALSE(pinyinPrefixMatch(gbk(u8"Ａ鞋"), "ax"));
  EXPECT_TRUE(pinyinPrefixMatch(gbk(u8"Ａ鞋"), gbk(u8"Ａx")));
  // A second byte that looks like a letter is not folded.
  EXPECT_FALSE(pinyinPrefixMatch("\xD5\x5C", "\xD5\x7C"));
}

// The 模糊首拼 test written from its definition, character i of each text
// being midChars(text, i, 1), against the matcher on random texts that mix
// letters of both cases, initials, lone lead bytes, CR and LF.
TEST(PinyinPrefixMatch, AgreesWithTheCharacterDefinition) {
  auto fold = [](std::string c) {
    if (c.size() == 1 && c[0] >= 'A' && c[0] <= 'Z') c[0] = static_cast<char>(c[0] - 'A' + 'a');
    return c;
  };
  auto byDefinition = [&](const std::string& kw, const std::string& q) {
    for (int i = 1; i <= charCount(q); ++i) {
      const std::string qc(midChars(q, i, 1)), kc(midChars(kw, i, 1));
      if (kc == qc) continue;
      if (const char letter = pinyinInitialLetter(kc)) {
        if (fold(qc) != std::string(1, letter)) return false;
      } else if (fold(kc) != fold(qc)) {
        return false;
      }
    }
    return true;
  };
  // Level-two and non-GB2312 characters have no initial; DEL shares the
  // table walk's class of such characters.
  const std::string pieces[] = {"a",  "A",        "d",        "D",        "\r",       "\n",  "\xB0\xA1", "\xB5\xCF",
                                "\xB0", "\xD5\x5C", "\xD8\xA1", "\x81\x40", "\x7F", "\r\n", " "};
  std::mt19937 rng(17);
  for (int round = 0; round < 80000; ++round) {
    std::string kw, q;
    for (auto n = rng() % 9; n > 0; --n) kw += pieces[rng() % std::size(pieces)];
    if (round % 2) {
      for (auto n = rng() % 6; n > 0; --n) q += pieces[rng() % std::size(pieces)];
    } else {
      // A query read off the keyword (initials in either case), so that long
      // prefixes match and each place of the walk decides; now and then one
      // character of it differs. Keywords of a letter file hold no LF.
      kw.erase(std::remove(kw.begin(), kw.end(), '\n'), kw.end());
      for (int i = 1, n = 1 + static_cast<int>(rng() % 5); i <= n && i <= charCount(kw); ++i) {
        std::string c(midChars(kw, i, 1));
        if (const char letter = pinyinInitialLetter(c); letter && rng() % 2) c = std::string(1, rng() % 2 ? letter : letter - 32);
        q += c;
      }
      if (!q.empty() && rng() % 3 == 0) q[rng() % q.size()] = 'd';
    }
    ASSERT_EQ(PinyinQuery(q).matches(kw), byDefinition(kw, q)) << round;
  }
}

TEST(AutoLetter, FollowsTheQuerysFirstCharacter) {
  EXPECT_EQ(autoLetter(gbk(u8"阿迪"), kAllIndex), 1);
  EXPECT_EQ(autoLetter("ad", 13), 1);
  EXPECT_EQ(autoLetter("Nike", kAllIndex), 14);
  EXPECT_EQ(autoLetter("3d", 5), kDigitsIndex);
  EXPECT_EQ(autoLetter("#1", 5), 5);
  EXPECT_EQ(autoLetter("", 7), 7);
  EXPECT_EQ(autoLetter(gbk(u8"氵"), kAllIndex), kAllIndex);
  EXPECT_EQ(autoLetter(gbk(u8"Ａ"), 3), 3);
}

TEST(LetterName, BijectiveBase26) {
  EXPECT_EQ(letterName(1), "A");
  EXPECT_EQ(letterName(14), "N");
  EXPECT_EQ(letterName(25), "Y");
  EXPECT_EQ(letterName(26), "Z");
  EXPECT_EQ(letterName(27), "AA");
  EXPECT_EQ(letterName(52), "AZ");
  EXPECT_EQ(letterName(53), "BA");
  EXPECT_EQ(letterName(702), "ZZ");
  EXPECT_EQ(letterName(703), "AAA");
  EXPECT_EQ(letterName(0), "");
  EXPECT_EQ(letterName(-3), "");
  EXPECT_EQ(letterName(2, true), "b");
  EXPECT_EQ(letterIndexName(27), "0-9");
}

}  // namespace
}  // namespace kx
