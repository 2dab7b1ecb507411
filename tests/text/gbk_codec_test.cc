#include "text/gbk_codec.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(GbkCodec, KnownCharacters) {
  EXPECT_EQ(gbkToUtf8("\xB0\xA2\xB5\xCF"), "阿迪");
  EXPECT_EQ(gbkToUtf8("\xD5\x5C"), "誠");  // a second byte below 0x80
  EXPECT_EQ(gbkToUtf8("\x80"), "€");      // the single-byte euro sign
  EXPECT_EQ(utf8ToGbk("€"), std::string("\x80"));
  EXPECT_EQ(utf8ToGbk("Nike 阿迪"), std::string("Nike \xB0\xA2\xB5\xCF"));
  EXPECT_EQ(utf8ToGbk("Ａ"), std::string("\xA3\xC1"));  // full-width A
}

TEST(GbkCodec, EveryMappedPairRoundTrips) {
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      char32_t cp = gbkCharToUnicode(static_cast<unsigned char>(lead), trail);
      if (cp == 0xFFFD) continue;
      ++mapped;
      char out[2];
      ASSERT_EQ(unicodeToGbk(cp, out), 2) << std::hex << lead << trail;
      EXPECT_EQ(static_cast<unsigned char>(out[0]), lead);
      EXPECT_EQ(static_cast<unsigned char>(out[1]), trail);
    }
  }
  EXPECT_EQ(mapped, 21791);
}

TEST(GbkCodec, UnmappableAndMalformedInput) {
  char32_t bad = 0;
  EXPECT_FALSE(utf8ToGbk("鞋😀", &bad));
  EXPECT_EQ(bad, 0x1F600u);
  EXPECT_FALSE(utf8ToGbk("\xE9\x9E", &bad));  // cut-off sequence
  EXPECT_FALSE(utf8ToGbk("\xFF", &bad));
  EXPECT_EQ(utf16ToGbk(u"阿迪"), std::string("\xB0\xA2\xB5\xCF"));
  // A lead byte without a valid partner decodes alone, and its neighbour survives.
  EXPECT_EQ(gbkToUtf16("\xB0" "0"), std::u16string(u"\uFFFD" "0"));
  EXPECT_EQ(gbkToUtf16("\xB0"), std::u16string(u"\uFFFD"));
}

}  // namespace
}  // namespace kx
