#include "search/match/wildcard.h"

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

TEST(WildcardTest, EveryMetacharacterBecomesLiteralAndStarBecomesDotStar) {
  EXPECT_EQ(wildcardToPattern(R"(\()^$+?.{}[]*)"), R"(\\\(\)\^\$\+\?\.\{\}\[\].*)");
  EXPECT_EQ(wildcardToPattern(gbk(u8"阿迪达斯*鞋")), gbk(u8"阿迪达斯.*鞋"));
  EXPECT_EQ(wildcardToPattern(gbk(u8"*迪达斯*")), gbk(u8".*迪达斯.*"));
  EXPECT_EQ(wildcardToPattern(gbk(u8"阿?达")), gbk(u8"阿\\?达"));
  EXPECT_EQ(wildcardToPattern("a.b"), "a\\.b");
}

TEST(WildcardTest, BarAndPlainTextPassThroughWithoutAnchors) {
  EXPECT_EQ(wildcardToPattern(gbk(u8"阿迪|耐克")), gbk(u8"阿迪|耐克"));
  EXPECT_EQ(wildcardToPattern("nike"), "nike");
  EXPECT_EQ(wildcardToPattern(""), "");
}

TEST(WildcardTest, DoubleByteCharactersAreSteppedOverWhole) {
  // 誠 is D5 5C: its trail byte is the code of a backslash.
  const std::string cheng = gbk(u8"誠");
  ASSERT_EQ(cheng, "\xD5\x5C");
  EXPECT_EQ(wildcardToPattern(cheng + "*"), cheng + ".*");
  EXPECT_EQ(wildcardToPattern(cheng + "\\"), cheng + "\\\\");
  // Trail bytes that look like [ ^ { } stay as they are too.
  const std::string looksLikeMeta = "\xB0\x5B\xB0\x5E\x81\x7B\x81\x7D";
  EXPECT_EQ(wildcardToPattern(looksLikeMeta), looksLikeMeta);
  // A lead byte left alone at the end is still one character.
  EXPECT_EQ(wildcardToPattern("*\xB0"), ".*\xB0");
}

TEST(ReplaceByListsTest, PassesRunInOrderWithoutRescanningInsertedText) {
  EXPECT_EQ(replaceByLists("abc", "a|b", "b|c"), "ccc");  // pass 2 sees pass 1's output
  EXPECT_EQ(replaceByLists("aaa", "a", "aa"), "aaaaaa");  // no rescan of what was inserted
  EXPECT_EQ(replaceByLists("aaa", "aa", "b"), "ba");      // occurrences do not overlap
}

TEST(ReplaceByListsTest, ShortReplacementListIsPaddedAndEmptyItemsChangeNothing) {
  EXPECT_EQ(replaceByLists("a-b-c", "-|b", "+"), "a++c");
  EXPECT_EQ(replaceByLists("abc", "b|c", "X"), "aX");
  EXPECT_EQ(replaceByLists("abc", "|b", "X|Y"), "aYc");
  EXPECT_EQ(replaceByLists("", "a", "b"), "");
  EXPECT_EQ(replaceByLists("abc", "b", "X|Y|Z"), "aXc");
}

}  // namespace
}  // namespace kx
