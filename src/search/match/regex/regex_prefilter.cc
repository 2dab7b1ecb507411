#include "search/match/regex/regex_prefilter.h"

#include <cstring>

#include "text/gbk_codec.h"

namespace kx {
namespace {

bool isAsciiLetter(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
unsigned char foldAscii(unsigned char c) { return isAsciiLetter(c) ? static_cast<unsigned char>(c | 0x20) : c; }

// Code points that more than one GBK byte sequence decodes to: a byte search
// for one encoding would miss the other.
const std::vector<bool>& multiplyEncoded() {
  static const std::vector<bool> table = [] {
    std::vector<unsigned char> seen(0x10000, 0);
    auto note = [&seen](char32_t cp) {
      if (cp < 0x10000 && seen[cp] < 2) ++seen[cp];
    };
    for (int b = 0; b <= 0x80; ++b) note(gbkCharToUnicode(static_cast<unsigned char>(b), -1));
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
      for (int trail = 0x40; trail <= 0xFE; ++trail) note(gbkCharToUnicode(static_cast<unsigned char>(lead), trail));
    }
    std::vector<bool> result(0x10000, false);
    for (std::size_t i = 0; i < seen.size(); ++i) result[i] = seen[i] > 1;
    return result;
  }();
  return table;
}

// Non-ASCII characters that surely have no case partner: the CJK blocks,
// punctuation, symbols, kana, the private use area and the full-width forms
// that are not letters.
bool isCaseless(char16_t c) {
  return (c >= 0x2000 && c <= 0x206F) || (c >= 0x2190 && c <= 0x21FF) || (c >= 0x2500 && c <= 0x25FF) ||
         (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xE000 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF01 && c <= 0xFF20) ||
         (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65);
}

// Appends the GBK bytes of c when a byte search for them is safe.
bool appendSearchable(char16_t c, bool ignoreCase, std::string& out) {
  if (c == 0xFFFD || multiplyEncoded()[c]) return false;
  if (ignoreCase && c >= 0x80 && !isCaseless(c)) return false;
  char bytes[2];
  int n = unicodeToGbk(c, bytes);
  if (n == 0) return false;
  out.append(bytes, static_cast<std::size_t>(n));
  return true;
}

bool hasAsciiLetter(std::string_view text) {
  for (char c : text) {
    if (isAsciiLetter(static_cast<unsigned char>(c))) return true;
  }
  return false;
}

// The longest stretch of needle without ASCII letters (the whole needle when
// not folding), and its offset.
std::string exactStretch(const std::string& needle, bool fold, std::size_t* offset) {
  *offset = 0;
  if (!fold) return needle;
  std::string best;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= needle.size(); ++i) {
    if (i == needle.size() || isAsciiLetter(static_cast<unsigned char>(needle[i]))) {
      if (i - start > best.size()) {
        best = needle.substr(start, i - start);
        *offset = start;
      }
      start = i + 1;
    }
  }
  return best;
}

}  // namespace

LiteralPrefilter::LiteralPrefilter(std::string needle, bool foldAscii)
    : needle_(std::move(needle)),
      fold_(foldAscii && hasAsciiLetter(needle_)),
      anchor_(exactStretch(needle_, fold_, &anchorOffset_)) {}

bool LiteralPrefilter::equalsAt(const char* p) const {
  for (std::size_t i = 0; i < needle_.size(); ++i) {
    if (foldAscii(static_cast<unsigned char>(p[i])) != foldAscii(static_cast<unsigned char>(needle_[i]))) return false;
  }
  return true;
}

const char* LiteralPrefilter::find(const char* from, const char* end) const {
  if (static_cast<std::size_t>(end - from) < needle_.size()) return end;
  const char* lastStart = end - needle_.size();
  if (!fold_) {
    const char* hit = anchor_.find(from, end);
    return hit ? hit : end;
  }
  if (anchor_.needle().size() < 2) return findFirstByteEitherCase(from, end);
  const char* p = from + anchorOffset_;
  while (p <= lastStart + anchorOffset_) {
    const char* hit = anchor_.find(p, end);
    if (!hit) return end;
    const char* start = hit - anchorOffset_;
    if (start > lastStart) return end;
    if (equalsAt(start)) return start;
    p = hit + 1;
  }
  return end;
}

// For needles that are mostly letters: the first byte in either case,
// remembering the next occurrence of each case so no stretch is searched twice.
const char* LiteralPrefilter::findFirstByteEitherCase(const char* from, const char* end) const {
  const char* lastStart = end - needle_.size();
  const unsigned char first = static_cast<unsigned char>(needle_[0]);
  const int lower = foldAscii(first);
  const int upper = isAsciiLetter(first) ? (lower & ~0x20) : lower;
  auto next = [lastStart, end](const char* p, int byte) {
    if (p > lastStart) return end;
    const void* hit = std::memchr(p, byte, static_cast<std::size_t>(lastStart - p) + 1);
    return hit ? static_cast<const char*>(hit) : end;
  };
  const char* nextLower = next(from, lower);
  const char* nextUpper = (upper != lower) ? next(from, upper) : end;
  while (nextLower != end || nextUpper != end) {
    const char* hit = nextLower < nextUpper ? nextLower : nextUpper;
    if (equalsAt(hit)) return hit;
    if (hit == nextLower) nextLower = next(hit + 1, lower);
    if (hit == nextUpper) nextUpper = next(hit + 1, upper);
  }
  return end;
}

std::unique_ptr<LiteralPrefilter> choosePrefilter(const std::vector<std::u16string>& runs, bool ignoreCase) {
  std::string best;
  for (const std::u16string& run : runs) {
    std::string piece;
    for (char16_t c : run) {
      if (appendSearchable(c, ignoreCase, piece)) continue;
      if (piece.size() > best.size()) best = piece;
      piece.clear();
    }
    if (piece.size() > best.size()) best = piece;
  }
  if (best.size() < 2) return nullptr;
  return std::make_unique<LiteralPrefilter>(std::move(best), ignoreCase);
}

}  // namespace kx
