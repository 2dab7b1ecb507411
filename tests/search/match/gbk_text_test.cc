#include "search/match/gbk_text.h"

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

const std::string kTarget = gbk(u8"阿迪达斯 男式鞋");

TEST(CharCount, CountsCharactersNotBytes) {
  EXPECT_EQ(charCount(kTarget), 8);
  EXPECT_EQ(charCount(""), 0);
  EXPECT_EQ(charCount("ab\r\ncd"), 5);  // CR LF is one character
  EXPECT_EQ(charCount("a\rb\nc"), 5);   // lone CR and LF count one each
  EXPECT_EQ(charCount("\xB0"), 0);      // a lead byte left pending is not counted
  EXPECT_EQ(charCount("\xB0" "a"), 1);  // a lead byte and a low second byte form one character
  EXPECT_EQ(charCount("\xD5\x5C\xD5\x5C"), 2);
}

TEST(LeftRightMid, FollowTheForwardScansBoundaries) {
  EXPECT_EQ(leftChars(kTarget, 2), gbk(u8"阿迪"));
  EXPECT_EQ(leftChars(kTarget, 0), "");
  EXPECT_EQ(leftChars(kTarget, 99), kTarget);
  EXPECT_EQ(rightChars(kTarget, 3), gbk(u8"男式鞋"));
  EXPECT_EQ(rightChars(kTarget, 0), "");
  EXPECT_EQ(rightChars(kTarget, 8), kTarget);
  // 真誠: the last character is 誠 (D5 5C), not the single byte 5C.
  const std::string zhencheng = gbk(u8"真誠");
  EXPECT_EQ(rightChars(zhencheng, 1), "\xD5\x5C");
  EXPECT_EQ(leftChars("\xD5\x5C" "x", 1), "\xD5\x5C");
  EXPECT_EQ(rightChars("ab\r\n", 1), "\r\n");
  EXPECT_EQ(midChars(kTarget, 5, 1), " ");
  EXPECT_EQ(midChars(kTarget, 6, 99), gbk(u8"男式鞋"));
  EXPECT_EQ(midChars(kTarget, 9, 1), "");
  EXPECT_EQ(midChars(kTarget, 1, 0), "");
  EXPECT_EQ(midChars("a\xB0", 2, 1), "\xB0");  // a pending lead at the end comes out alone
}

TEST(FindText, OnlyAtCharacterBoundaries) {
  const std::string adi = gbk(u8"阿迪");  // B0 A2 B5 CF
  EXPECT_EQ(findText(adi, "\xA2\xB5"), -1);  // ⒌ sits inside the two characters
  EXPECT_EQ(findText(kTarget, gbk(u8"男式鞋")), 10);
  EXPECT_EQ(findText(kTarget, gbk(u8"迪达")), 3);
  EXPECT_EQ(findText("abc", ""), 1);
  EXPECT_EQ(findText("", ""), -1);
  EXPECT_EQ(findText("ab", "abc"), -1);
  EXPECT_EQ(findText("x\xB0", "\xB0"), 2);
  EXPECT_EQ(findText("\xB0", "a"), -1);  // a lead byte that ends the haystack stops the search
}

TEST(PlainPredicates, HelpTextExamplesAndCase) {
  const int n2 = 2, n3 = 3, n4 = 4;
  EXPECT_TRUE(matchLeft(kTarget, gbk(u8"阿迪"), n2));
  EXPECT_TRUE(matchLeft(kTarget, gbk(u8"阿迪达斯"), n4));
  EXPECT_TRUE(matchMiddle(kTarget, gbk(u8"阿迪达斯")));
  EXPECT_TRUE(matchMiddle(kTarget, gbk(u8"男式鞋")));
  EXPECT_TRUE(matchRight(kTarget, gbk(u8"男式鞋"), n3));
  EXPECT_TRUE(matchRight(kTarget, gbk(u8"鞋"), 1));
  EXPECT_FALSE(matchLeft(kTarget, gbk(u8"迪达"), n2));
  EXPECT_FALSE(matchRight(kTarget, gbk(u8"迪达"), n2));
  EXPECT_TRUE(matchMiddle(kTarget, gbk(u8"迪达")));

  EXPECT_FALSE(matchLeft("Nike Air", "nike", 4));
  EXPECT_FALSE(matchMiddle("Nike Air", "nike"));
  EXPECT_FALSE(matchLeft(gbk(u8"Ａ鞋"), "A", 1));  // full width never matches half width
  EXPECT_FALSE(matchLeft("ab", "ab ", 3));        // the trailing space counts
  EXPECT_FALSE(matchLeft("ab", "abc", 3));
  EXPECT_FALSE(matchRight("ab", "xab", 3));

  // Empty query: left and right take everything, middle only non-empty keywords.
  EXPECT_TRUE(matchLeft("", "", 0));
  EXPECT_TRUE(matchRight("", "", 0));
  EXPECT_FALSE(matchMiddle("", ""));
  EXPECT_TRUE(matchMiddle("a", ""));

  // Characters whose second byte is below 0x80 are whole at both ends.
  EXPECT_TRUE(matchRight(gbk(u8"真誠"), "\xD5\x5C", 1));
  EXPECT_TRUE(matchLeft(gbk(u8"誠意"), "\xD5\x5C", 1));
  // A query ending in a lone lead byte never matches on the left.
  EXPECT_FALSE(matchLeft(gbk(u8"阿迪"), "\xB0", 0));
}

}  // namespace
}  // namespace kx

namespace kx {
namespace {

// The fast predicates against their definitions on random GBK-ish texts.
TEST(PlainPredicates, AgreeWithTheMeasuresOnRandomTexts) {
  const char alphabet[] = {'a', 'b', '\r', '\n', ' ', '\x5C', '\xB0', '\xA2', '\xD5', '\x80', '\xFF'};
  unsigned seed = 7;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  auto randomText = [&](std::size_t maxLen) {
    std::string s(next() % (maxLen + 1), '\0');
    for (char& c : s) c = alphabet[next() % sizeof alphabet];
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string keyword = randomText(9);
    // Queries cut from the keyword make matches likely.
    std::string query = next() % 2 ? randomText(3) : keyword.substr(next() % (keyword.size() + 1));
    const int n = charCount(query);
    EXPECT_EQ(matchRight(keyword, query, n), rightChars(keyword, n) == query) << i;
    std::string head = keyword.substr(0, next() % (keyword.size() + 1));
    const int nh = charCount(head);
    EXPECT_EQ(matchLeft(keyword, head, nh), leftChars(keyword, nh) == head) << i;
  }
}

}  // namespace
}  // namespace kx
