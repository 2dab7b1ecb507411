#include "search/match/pinyin.h"

#include "search/scan/char_scan.h"
#include "search/match/gbk_text.h"

namespace kx {
namespace {

constexpr char kTable[] =
#include "search/match/pinyin_table.inc"
    ;
static_assert(sizeof(kTable) == 72 * 94 + 1);

constexpr char initialOf(unsigned lead, unsigned trail) {
  if (lead < 0xB0 || lead > 0xF7 || trail < 0xA1 || trail > 0xFE) return 0;
  const char letter = kTable[(lead - 0xB0) * 94 + (trail - 0xA1)];
  return letter == ' ' ? 0 : letter;
}

constexpr bool isLineByte(unsigned b) { return b == '\r' || b == '\n'; }

constexpr PinyinCharClasses makeCharClasses() {
  PinyinCharClasses t;
  for (unsigned lead = 0; lead < 256; ++lead) {
    for (unsigned next = 0; next < 256; ++next) {
      unsigned v;
      if (lead < 0x80) {
        v = (lead >= 'A' && lead <= 'Z') ? lead - 'A' + 'a' : lead;
        if (isLineByte(lead)) v |= PinyinCharClasses::kLineFlag;
      } else {
        const char letter = initialOf(lead, next);
        v = letter ? static_cast<unsigned>(letter) : PinyinCharClasses::kNoInitial;
        if (isLineByte(next)) v |= PinyinCharClasses::kLineFlag;
      }
      t.of[lead << 8 | next] = static_cast<unsigned char>(v);
    }
  }
  return t;
}

// A step's letter that no character's class equals (classes are 7 bits).
constexpr std::uint32_t kNoLetter = 0x100;
// A step's pair that no two bytes equal.
constexpr std::uint32_t kNoPair = 0x10000;

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view s) {
  std::string out(s);
  // Only single bytes below 0x80 can be ASCII letters; both bytes of a
  // double-byte character stay, even where a second byte looks like a letter.
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (static_cast<unsigned char>(out[i]) >= 0x80) {
      ++i;
    } else {
      out[i] = foldAscii(out[i]);
    }
  }
  return out;
}

// Whether text, with its ASCII letters folded as folded() does, equals folded.
bool equalsFolded(std::string_view text, std::string_view foldedText) {
  if (text.size() != foldedText.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) {
      if (text[i] != foldedText[i] || (i + 1 < text.size() && text[i + 1] != foldedText[i + 1])) return false;
      ++i;
    } else if (foldAscii(text[i]) != foldedText[i]) {
      return false;
    }
  }
  return true;
}

// Walks the characters of text as midChars(text, i, 1) gives them for i = 1, 2, ...
class CharWalker {
 public:
  explicit CharWalker(std::string_view text) : text_(text), scan_(text) {}

  // The next character; a lead byte pending at the end comes out alone, and
  // past the end the result is empty.
  std::string_view next() {
    const std::size_t from = scan_.pos();
    const int target = scan_.count() + 1;
    while (!scan_.done() && scan_.step() < target) {
    }
    return text_.substr(from, scan_.pos() - from);
  }

 private:
  std::string_view text_;
  CharScan scan_;
};

}  // namespace

constexpr PinyinCharClasses kPinyinCharClasses = makeCharClasses();

char pinyinInitialLetter(std::string_view character) {
  if (character.size() < 2) return 0;
  return initialOf(static_cast<unsigned char>(character[0]), static_cast<unsigned char>(character[1]));
}

std::string pinyinInitial(std::string_view character) {
  char letter = pinyinInitialLetter(character);
  return letter ? std::string(1, letter) : std::string();
}

PinyinQuery::PinyinQuery(std::string_view query) {
  const int n = charCount(query);
  CharWalker walker(query);
  for (int i = 0; i < n; ++i) {
    std::string_view c = walker.next();
    chars_.push_back({std::string(c), folded(c)});
    Step step{kNoLetter, kNoPair};
    const auto b0 = c.empty() ? 0u : static_cast<unsigned char>(c[0]);
    if (c.size() == 1 && b0 < 0x80) {
      step.letter = kPinyinCharClasses.of[b0 << 8];
      // DEL shares its class with a double-byte character without an
      // initial, and CR and LF make their own characters.
      tableWalk_ = tableWalk_ && b0 != PinyinCharClasses::kNoInitial && !(step.letter & PinyinCharClasses::kLineFlag);
    } else if (c.size() == 2) {
      step.pair = b0 << 8 | static_cast<unsigned char>(c[1]);
    }
    steps_.push_back(step);
  }
}

bool PinyinQuery::matchesByWalk(std::string_view keyword) const {
  // Without CR or LF among the bytes walked, a character is a byte below 0x80,
  // a byte of 0x80 or more with its partner, or such a byte left alone at the
  // end; the general walker decides the rest.
  const auto* b = reinterpret_cast<const unsigned char*>(keyword.data());
  const std::size_t len = keyword.size();
  auto lineByte = [](unsigned char c) { return c == '\r' || c == '\n'; };
  std::size_t pos = 0;
  for (const Char& q : chars_) {
    if (pos >= len) return false;
    const unsigned char c = b[pos];
    if (lineByte(c)) return matchesWalking(keyword);
    if (c < 0x80 || pos + 1 == len) {
      if (q.bytes.size() != 1 || foldAscii(static_cast<char>(c)) != q.folded[0]) return false;
      ++pos;
      continue;
    }
    if (lineByte(b[pos + 1])) return matchesWalking(keyword);
    const std::string_view k(keyword.data() + pos, 2);
    pos += 2;
    if (k == q.bytes) continue;
    const char letter = pinyinInitialLetter(k);
    if (!letter || q.folded.size() != 1 || q.folded[0] != letter) return false;
  }
  return true;
}

bool PinyinQuery::matchesWalking(std::string_view keyword) const {
  CharWalker walker(keyword);
  for (const Char& q : chars_) {
    const std::string_view k = walker.next();
    if (k == q.bytes) continue;
    if (const char letter = pinyinInitialLetter(k)) {
      if (q.folded.size() != 1 || q.folded[0] != letter) return false;
    } else if (!equalsFolded(k, q.folded)) {
      return false;
    }
  }
  return true;
}

bool pinyinPrefixMatch(std::string_view keyword, std::string_view query) {
  return PinyinQuery(query).matches(keyword);
}

int autoLetter(std::string_view query, int letterIndex) {
  std::string_view first = leftChars(query, 1);
  if (first.empty()) return letterIndex;
  std::string h = pinyinInitial(first);
  if (h.empty()) h = std::string(first);
  const char c = h[0] >= 'a' && h[0] <= 'z' ? static_cast<char>(h[0] - 'a' + 'A') : h[0];
  if (c >= 'A' && c <= 'Z') return c - 64;
  if (h.size() == 1 && c >= '0' && c <= '9') return 27;
  return letterIndex;
}

}  // namespace kx
