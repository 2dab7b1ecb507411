#include "search/match/regex/regex_cursor.h"

#include <algorithm>
#include <cstdio>

namespace kx::regex {
namespace {

bool isOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

int hexValue(char16_t c) {
  if (isDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

void appendHexEscape(char32_t c, std::u16string& out) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\\x{%x}", static_cast<unsigned>(c));
  for (const char* p = buf; *p; ++p) out += static_cast<char16_t>(*p);
}

void appendAscii(std::string_view text, std::u16string& out) {
  for (char c : text) out += static_cast<char16_t>(c);
}

void PatternCursor::fail(const char* message, std::size_t offset, bool unsupported) {
  if (!failed()) {
    error_ = message;
    errorOffset_ = offset;
    unsupported_ = unsupported;
  }
}

bool PatternCursor::scanBraces(std::int64_t* lo, std::int64_t* hi) {
  std::size_t i = pos_ + 1;
  auto readNumber = [&](std::int64_t* value) {
    std::size_t first = i;
    std::int64_t v = 0;
    while (i < src_.size() && isDigit(src_[i])) {
      v = std::min<std::int64_t>(v * 10 + (src_[i] - u'0'), std::int64_t{1} << 31);
      ++i;
    }
    *value = v;
    return i > first;
  };
  if (!readNumber(lo)) return false;
  *hi = *lo;
  if (i < src_.size() && src_[i] == u',') {
    ++i;
    if (!readNumber(hi)) *hi = kUnbounded;
  }
  if (i >= src_.size() || src_[i] != u'}') return false;
  pos_ = i + 1;
  return true;
}

char16_t PatternCursor::parseOctal() {
  int value = 0;
  int maxDigits = (peek() <= u'3') ? 3 : 2;
  for (int n = 0; n < maxDigits && !atEnd() && isOctal(peek()); ++n) value = value * 8 + (src_[pos_++] - u'0');
  return static_cast<char16_t>(value);
}

bool PatternCursor::parseCharacterEscape(char16_t* out) {
  char16_t c = peek();
  switch (c) {
    case u'f': *out = u'\f'; ++pos_; return true;
    case u'n': *out = u'\n'; ++pos_; return true;
    case u'r': *out = u'\r'; ++pos_; return true;
    case u't': *out = u'\t'; ++pos_; return true;
    case u'v': *out = u'\v'; ++pos_; return true;
    case u'x':
      if (hexValue(peek(1)) >= 0 && hexValue(peek(2)) >= 0) {
        *out = static_cast<char16_t>(hexValue(peek(1)) * 16 + hexValue(peek(2)));
        pos_ += 3;
      } else {
        *out = u'x';
        ++pos_;
      }
      return true;
    case u'u':
      if (hexValue(peek(1)) >= 0 && hexValue(peek(2)) >= 0 && hexValue(peek(3)) >= 0 && hexValue(peek(4)) >= 0) {
        *out = static_cast<char16_t>(hexValue(peek(1)) << 12 | hexValue(peek(2)) << 8 | hexValue(peek(3)) << 4 |
                                     hexValue(peek(4)));
        pos_ += 5;
      } else {
        *out = u'u';
        ++pos_;
      }
      return true;
    default:
      return false;
  }
}

}  // namespace kx::regex
