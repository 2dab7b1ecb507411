#include "text/gbk_codec.h"

#include <array>

namespace kx {
namespace {

constexpr int kFirstLead = 0x81;
constexpr int kFirstTrail = 0x40;
constexpr int kTrailsPerRow = 0xFF - kFirstTrail;  // 0x40..0xFE
constexpr char32_t kEuro = 0x20AC;
constexpr char32_t kReplacement = 0xFFFD;

constexpr std::uint16_t kDoubleByte[] = {
#include "text/cp936_table.inc"
};
static_assert(sizeof(kDoubleByte) / sizeof(kDoubleByte[0]) == (0xFF - kFirstLead) * kTrailsPerRow);

// Reverse map for the Basic Multilingual Plane: code unit -> GBK pair (lead <<
// 8 | trail), 0 when unmapped. Made by the compiler, so that it lies in the
// program's read-only data: a process touches only the pages it looks up
// rather than filling 128 KiB of fresh memory, a page fault a page.
struct EncodeTable {
  std::uint16_t pair[0x10000] = {};
};

constexpr EncodeTable makeEncodeTable() {
  EncodeTable t;
  for (int lead = kFirstLead; lead <= 0xFE; ++lead) {
    for (int trail = kFirstTrail; trail <= 0xFE; ++trail) {
      const std::uint16_t u = kDoubleByte[(lead - kFirstLead) * kTrailsPerRow + (trail - kFirstTrail)];
      if (u != 0 && t.pair[u] == 0) t.pair[u] = static_cast<std::uint16_t>(lead << 8 | trail);
    }
  }
  t.pair[kEuro] = 0x80;  // single byte, marked by a zero lead
  return t;
}

constexpr EncodeTable kEncodeTable = makeEncodeTable();

void appendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Walks a GBK text character by character, calling emit(code point).
template <typename Emit>
void forEachGbkChar(std::string_view gbk, Emit emit) {
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  const std::size_t n = gbk.size();
  for (std::size_t i = 0; i < n;) {
    unsigned char b = p[i];
    if (b >= 0x81 && b <= 0xFE && i + 1 < n && p[i + 1] >= kFirstTrail && p[i + 1] <= 0xFE && p[i + 1] != 0x7F) {
      emit(gbkCharToUnicode(b, p[i + 1]));
      i += 2;
    } else {
      // ASCII, the single-byte euro, or a lead byte without a valid partner:
      // the partner, if any, stays a character of its own.
      emit(gbkCharToUnicode(b, -1));
      ++i;
    }
  }
}

}  // namespace

char32_t gbkCharToUnicode(unsigned char lead, int trail) {
  if (lead < 0x80) return lead;
  if (lead == 0x80) return kEuro;
  if (lead == 0xFF || trail < kFirstTrail || trail > 0xFE) return kReplacement;
  std::uint16_t u = kDoubleByte[(lead - kFirstLead) * kTrailsPerRow + (trail - kFirstTrail)];
  return u ? u : kReplacement;
}

void appendGbkAsUtf16(std::string_view gbk, std::u16string& out) {
  forEachGbkChar(gbk, [&out](char32_t cp) { out += static_cast<char16_t>(cp); });
}

std::u16string gbkToUtf16(std::string_view gbk) {
  std::u16string out;
  out.reserve(gbk.size());
  appendGbkAsUtf16(gbk, out);
  return out;
}

std::string gbkToUtf8(std::string_view gbk) {
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  forEachGbkChar(gbk, [&out](char32_t cp) { appendUtf8(cp, out); });
  return out;
}

int unicodeToGbk(char32_t cp, char out[2]) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp > 0xFFFF) return 0;
  std::uint16_t pair = kEncodeTable.pair[cp];
  if (pair == 0) return 0;
  if (pair < 0x100) {
    out[0] = static_cast<char>(pair);
    return 1;
  }
  out[0] = static_cast<char>(pair >> 8);
  out[1] = static_cast<char>(pair & 0xFF);
  return 2;
}

namespace {

bool appendEncoded(char32_t cp, std::string& out, char32_t* badChar) {
  char buf[2];
  int len = unicodeToGbk(cp, buf);
  if (len == 0) {
    if (badChar) *badChar = cp;
    return false;
  }
  out.append(buf, static_cast<std::size_t>(len));
  return true;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8, char32_t* badChar) {
  std::string out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  for (std::size_t i = 0; i < n;) {
    unsigned char b = p[i];
    int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= n + (extra == 0 ? 1 : 0)) {
      if (badChar) *badChar = kReplacement;
      return std::nullopt;
    }
    char32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) {
      unsigned char c = p[i + static_cast<std::size_t>(k)];
      if ((c & 0xC0) != 0x80) {
        if (badChar) *badChar = kReplacement;
        return std::nullopt;
      }
      cp = cp << 6 | (c & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    if (!appendEncoded(cp, out, badChar)) return std::nullopt;
  }
  return out;
}

std::optional<std::string> utf16ToGbk(std::u16string_view utf16, char32_t* badChar) {
  std::string out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    if (!appendEncoded(cp, out, badChar)) return std::nullopt;
  }
  return out;
}

}  // namespace kx
