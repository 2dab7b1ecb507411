#include "search/match/regex/regex_subject.h"

#include "text/gbk_codec.h"

namespace kx {

// Code unit of every lead<<8|trail pair the codec reads as one character
// (unmapped pairs give U+FFFD), 0 where the two bytes are not a pair.
struct Utf16Subject::Tables {
  std::vector<char16_t> pairs = std::vector<char16_t>(0x10000, 0);
  char16_t singles[256];

  Tables() {
    for (int b = 0; b < 256; ++b) singles[b] = static_cast<char16_t>(gbkCharToUnicode(static_cast<unsigned char>(b), -1));
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        pairs[static_cast<std::size_t>(lead << 8 | trail)] =
            static_cast<char16_t>(gbkCharToUnicode(static_cast<unsigned char>(lead), trail));
      }
    }
  }
};

const Utf16Subject::Tables& Utf16Subject::tables() {
  static const Tables t;
  return t;
}

Utf16Subject::Utf16Subject() : tables_(tables()), buffer_(64) {}

char16_t Utf16Subject::firstUnit(std::string_view gbk) const {
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  if (p[0] >= 0x80 && gbk.size() > 1) {
    const char16_t u = tables_.pairs[static_cast<std::size_t>(p[0] << 8 | p[1])];
    if (u != 0) return u;
  }
  return tables_.singles[p[0]];
}

std::u16string_view Utf16Subject::convert(std::string_view gbk) {
  if (buffer_.size() < gbk.size()) buffer_.resize(gbk.size());
  const Tables& t = tables_;
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t n = gbk.size();
  char16_t* out = buffer_.data();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = p[i];
    if (b < 0x80) {
      *out++ = b;
      ++i;
      continue;
    }
    if (i + 1 < n) {
      const char16_t u = t.pairs[static_cast<std::size_t>(b << 8 | p[i + 1])];
      if (u != 0) {
        *out++ = u;
        i += 2;
        continue;
      }
    }
    *out++ = t.singles[b];  // the euro sign, or a lead byte without a partner
    ++i;
  }
  return std::u16string_view(buffer_.data(), static_cast<std::size_t>(out - buffer_.data()));
}

}  // namespace kx
