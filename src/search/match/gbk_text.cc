#include "search/match/gbk_text.h"

#include <cstring>

#include "search/scan/char_scan.h"

namespace kx {
namespace {

// Runs the scan over text; visit(i, countAfterByte) after every byte i,
// returning false to stop. Returns the count reached.
template <typename Visit>
int forwardScan(std::string_view text, Visit visit) {
  CharScan scan(text);
  while (!scan.done()) {
    const std::size_t i = scan.pos();
    if (!visit(i, scan.step())) break;
  }
  return scan.count();
}

// Byte offset where character k (1-based) starts: the byte after the one at
// which the count first reached k - 1. len when there is no such byte.
std::size_t charStart(std::string_view text, int k) {
  if (k <= 1) return 0;
  std::size_t start = text.size();
  forwardScan(text, [&](std::size_t i, int count) {
    if (count == k - 1) {
      start = i + 1;
      return false;
    }
    return true;
  });
  return start;
}

}  // namespace

int charCount(std::string_view text) {
  return forwardScan(text, [](std::size_t, int) { return true; });
}

std::string_view leftChars(std::string_view text, int n) {
  if (n <= 0) return {};
  std::size_t end = text.size();
  forwardScan(text, [&](std::size_t i, int count) {
    if (count == n) {
      end = i + 1;
      return false;
    }
    return true;
  });
  return text.substr(0, end);
}

std::string_view rightChars(std::string_view text, int n) {
  if (n <= 0) return {};
  const int m = charCount(text);
  if (m <= n) return text;
  return text.substr(charStart(text, m - n + 1));
}

std::string_view midChars(std::string_view text, int start, int count) {
  if (count <= 0 || start < 1) return {};
  // The start is fixed before the byte at which (characters so far) + 1 = start.
  std::size_t from = charStart(text, start);
  if (from >= text.size()) return {};
  std::size_t to = text.size();
  const int last = start - 1 + count;
  forwardScan(text, [&](std::size_t i, int counted) {
    if (i >= from && counted == last) {
      to = i + 1;
      return false;
    }
    return true;
  });
  return text.substr(from, to - from);
}

int findText(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return haystack.empty() ? -1 : 1;
  const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
  const std::size_t len = haystack.size();
  const auto first = static_cast<unsigned char>(needle[0]);
  std::size_t p = 0;
  while (len - p >= needle.size()) {
    if (h[p] == first && std::memcmp(h + p, needle.data(), needle.size()) == 0) return static_cast<int>(p + 1);
    if (h[p] >= 0x80) {
      if (p + 1 == len) return -1;  // a lead byte with no partner ends the haystack
      p += 2;
    } else {
      p += 1;
    }
  }
  return -1;
}

void markFindStarts(std::string_view text, std::uint32_t stamp, std::vector<std::uint32_t>& starts) {
  if (starts.size() < text.size()) starts.resize(text.size());
  const auto* h = reinterpret_cast<const unsigned char*>(text.data());
  // The same stepping as findText.
  for (std::size_t p = 0; p < text.size();) {
    starts[p] = stamp;
    if (h[p] < 0x80) {
      p += 1;
    } else if (p + 1 == text.size()) {
      break;
    } else {
      p += 2;
    }
  }
}

bool matchLeft(std::string_view keyword, std::string_view query, int n) {
  // Cheap rejection first; the exact test only where the bytes agree.
  if (keyword.size() < query.size()) return false;
  if (!query.empty() && (keyword[0] != query[0] || std::memcmp(keyword.data(), query.data(), query.size()) != 0))
    return false;
  return leftChars(keyword, n) == query;
}

bool matchMiddle(std::string_view keyword, std::string_view query) { return findText(keyword, query) != -1; }

bool matchRight(std::string_view keyword, std::string_view query, int n) {
  if (n <= 0) return query.empty();  // rightChars(keyword, 0) is empty
  if (keyword.size() < query.size()) return false;
  const std::size_t p = keyword.size() - query.size();
  if (keyword.back() != query.back() || std::memcmp(keyword.data() + p, query.data(), query.size()) != 0) return false;
  if (p == 0) return true;  // the keyword is the query
  // Without a CR or LF byte before p, characters are a byte below 0x80 or a
  // byte of 0x80 or more with its partner, so stepping by them shows whether
  // one ends right before p; the query after it then counts n by itself.
  const auto* b = reinterpret_cast<const unsigned char*>(keyword.data());
  auto lineByte = [](unsigned char c) { return c == '\r' || c == '\n'; };
  std::size_t at = 0;
  while (at < p && !lineByte(b[at])) {
    if (b[at] < 0x80) {
      ++at;
    } else if (at + 1 < p && lineByte(b[at + 1])) {
      break;
    } else {
      at += 2;
    }
  }
  if (at >= p) return at == p;
  // rightChars(keyword, n) == query exactly when a character ends right before
  // p, with n characters after it: one scan instead of two.
  CharScan scan(keyword);
  int countAtP = -1;
  while (!scan.done()) {
    const std::size_t i = scan.pos();
    const int before = scan.count();
    const int after = scan.step();
    if (i + 1 == p) countAtP = after > before ? after : -1;
  }
  return countAtP >= 0 && scan.count() - countAtP == n;
}

}  // namespace kx
