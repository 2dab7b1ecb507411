// The regex scanner with and without its literal prefilter, and the
// prefilter's own search.
#include <gtest/gtest.h>

#include <random>

#include "search/match/regex/regex_scanner.h"
#include "search/scan/line_scanner.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

std::vector<std::string> scanAll(RegexMatcher& matcher, std::string_view block) {
  BlockMatches out;
  makeRegexScanner(matcher)->scan(block, out, 0);
  return {out.keywords.begin(), out.keywords.end()};
}

// What the scanner must find: every keyword of the block for which
// countMatches is not 0, in order.
std::vector<std::string> expectedMatches(RegexMatcher& matcher, std::string_view block) {
  std::vector<std::string> out;
  forEachLine(block, [&](std::string_view keyword) {
    if (matcher.countMatches(keyword)) out.emplace_back(keyword);
    return true;
  });
  return out;
}

// Keywords built from pieces chosen to trip a byte search: letters in both
// cases, CJK characters whose trail bytes look like ASCII letters (B0 41 is
// a trail 'A'), full-width letters, CR before LF and a last line without LF.
std::string mixedBlock() {
  const std::vector<std::string> pieces = {
      gbk(u8"阿迪达斯"), gbk(u8"男式"), gbk(u8"鞋"), "Nike", "nIKE", "air", " ", "a", "A", "1", "2024",
      "\xB0\x41", "\x81\x4E\x81\x69", gbk(u8"ｎｉｋｅ"), gbk(u8"耐克"), "?", ".", "*", "\\", gbk(u8"誠"), "-"};
  std::mt19937 rng(7);
  std::string block;
  for (int line = 0; line < 3000; ++line) {
    const int n = static_cast<int>(rng() % 6);
    for (int i = 0; i < n; ++i) block += pieces[rng() % pieces.size()];
    block += (line % 7 == 0) ? "\r\n" : "\n";
  }
  return block + gbk(u8"阿迪达斯男式鞋") + "Nike";  // no final LF
}

TEST(RegexScannerTest, PrefilteredScanFindsExactlyWhatEveryLineMatchingFinds) {
  const std::string block = mixedBlock();
  const std::vector<std::string> patterns = {
      gbk(u8"阿迪达斯.*鞋"), wildcardToPattern(gbk(u8"*男式*")), "nike", "NIKE air", gbk(u8"男式鞋$"), gbk(u8"^阿迪"),
      "\\d{4}" + gbk(u8"阿迪"), gbk(u8"耐克|阿迪"), gbk(u8"ｎｉｋｅ"), gbk(u8"鞋?男式"), "(Nike)air", "ke\\b",
      wildcardToPattern(gbk(u8"誠*")), wildcardToPattern("?."), "A" + gbk(u8"男"), "[ab]ir", "Ni(?=ke)ke",
      gbk(u8"阿迪{2}"), "\\x41" + gbk(u8"男"), gbk(u8"达斯\\s*男")};
  int prefiltered = 0;
  for (const std::string& pattern : patterns) {
    for (bool ignoreCase : {true, false}) {
      RegexMatcher matcher;
      matcher.setPattern(pattern, ignoreCase, true, false);
      prefiltered += matcher.prefilter() != nullptr;
      EXPECT_EQ(scanAll(matcher, block), expectedMatches(matcher, block)) << gbkToUtf8(pattern) << " " << ignoreCase;
    }
  }
  EXPECT_GE(prefiltered, 20);  // most of these have a literal the scan can use
}

TEST(RegexScannerTest, PrefilterIsUsedOnlyWhereItCannotLoseMatches) {
  auto needleOf = [](std::string_view pattern, bool ignoreCase = true) {
    RegexMatcher m;
    m.setPattern(pattern, ignoreCase, true, false);
    return m.prefilter() ? m.prefilter()->needle() : std::string("-");
  };
  EXPECT_EQ(needleOf(gbk(u8"阿迪达斯.*鞋")), gbk(u8"阿迪达斯"));
  EXPECT_EQ(needleOf(wildcardToPattern(gbk(u8"*男式*"))), gbk(u8"男式"));
  EXPECT_EQ(needleOf(gbk(u8"^阿迪")), gbk(u8"阿迪"));
  EXPECT_EQ(needleOf("abc?d"), "ab");        // the optional c ends the run
  EXPECT_EQ(needleOf("Nike\\.com"), "Nike.com");
  EXPECT_EQ(needleOf(gbk(u8"阿迪|耐克")), "-");  // alternation
  EXPECT_EQ(needleOf("a?b*c{0,}"), "-");
  EXPECT_EQ(needleOf("(nike)"), "-");
  EXPECT_EQ(needleOf("[ab]x"), "-");
  EXPECT_EQ(needleOf("(a)\\1"), "-");
  EXPECT_EQ(needleOf(gbk(u8"ｎｉｋｅ")), "-");  // full-width letters fold outside ASCII
  EXPECT_EQ(needleOf(gbk(u8"ｎｉｋｅ"), false), gbk(u8"ｎｉｋｅ"));
  EXPECT_EQ(needleOf(gbk(u8"Ω鞋子")), gbk(u8"鞋子"));  // Greek letters have cases
  EXPECT_EQ(needleOf("(?=ab)ab"), "ab");
  EXPECT_EQ(needleOf("x"), "-");             // one byte is not worth a search
  EXPECT_EQ(needleOf(""), "-");
}

TEST(RegexScannerTest, BytewiseSearchFoldsAsciiAndIgnoresNothingElse) {
  LiteralPrefilter folded("nike", true);
  const std::string text = "xxNIKxNiKe";
  EXPECT_EQ(folded.find(text.data(), text.data() + text.size()) - text.data(), 6);
  LiteralPrefilter exact("nike", false);
  EXPECT_EQ(exact.find(text.data(), text.data() + text.size()), text.data() + text.size());
  const std::string mixed = gbk(u8"女式NIKE男式nike");
  LiteralPrefilter cjk(gbk(u8"男式Nike"), true);
  EXPECT_EQ(cjk.find(mixed.data(), mixed.data() + mixed.size()) - mixed.data(), 8);
  // A needle cut short by the end of the range is not found.
  EXPECT_EQ(cjk.find(mixed.data(), mixed.data() + mixed.size() - 1), mixed.data() + mixed.size() - 1);
}

TEST(RegexScannerTest, HitInsideADoubleByteCharacterIsNotAMatch) {
  // B0 41 is one character whose trail byte is 'A'; "A" + 男 must not be found in it.
  RegexMatcher matcher;
  matcher.setPattern("A" + gbk(u8"男"), true, true, false);
  ASSERT_NE(matcher.prefilter(), nullptr);
  const std::string block = "\xB0\x41" + gbk(u8"男") + "\n" + "xa" + gbk(u8"男") + "\n";
  EXPECT_EQ(scanAll(matcher, block), std::vector<std::string>{"xa" + gbk(u8"男")});
}

}  // namespace
}  // namespace kx
