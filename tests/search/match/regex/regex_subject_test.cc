#include "search/match/regex/regex_subject.h"

#include <gtest/gtest.h>

#include <random>

#include "text/gbk_codec.h"

namespace kx {
namespace {

// The engine must see exactly the code units the codec gives, or `.` and the
// line-start shortcut would count characters differently from the rest of
// the program.
TEST(RegexSubjectTest, EveryByteAndPairConvertsAsTheCodecDoes) {
  Utf16Subject subject;
  for (int first = 0; first < 256; ++first) {
    for (int second = -1; second < 256; ++second) {
      std::string text(1, static_cast<char>(first));
      if (second >= 0) text += static_cast<char>(second);
      ASSERT_EQ(subject.convert(text), gbkToUtf16(text)) << first << " " << second;
      ASSERT_EQ(subject.firstUnit(text), gbkToUtf16(text)[0]) << first << " " << second;
    }
  }
}

TEST(RegexSubjectTest, RandomTextsOfEveryLengthConvertAsTheCodecDoes) {
  Utf16Subject subject;
  std::mt19937 rng(11);
  for (int round = 0; round < 2000; ++round) {
    std::string text(rng() % 64, '\0');
    for (char& c : text) c = static_cast<char>(rng() % 3 == 0 ? rng() % 0x80 : 0x80 + rng() % 0x80);
    ASSERT_EQ(subject.convert(text), gbkToUtf16(text));
  }
  EXPECT_EQ(subject.convert(""), u"");
}

}  // namespace
}  // namespace kx
