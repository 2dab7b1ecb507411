// First-letter pinyin matching and the automatic choice of the letter file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kx {

// The lower-case pinyin initial of a GB2312 Chinese character (the first two
// bytes of character), or 0 when it has none: ASCII, symbols, full-width
// forms, radicals, unassigned codes and every other GBK character.
char pinyinInitialLetter(std::string_view character);

// The same as a text: one letter, or empty.
std::string pinyinInitial(std::string_view character);

// The 模糊首拼 test: for each of the query's characters in turn, the keyword's
// character at that place is the same character, or (for a Chinese keyword
// character) its pinyin initial, or (for an ASCII letter) the same letter,
// both compared without ASCII case. The rest of the keyword is free.
bool pinyinPrefixMatch(std::string_view keyword, std::string_view query);

// What the character starting with the two bytes lead, next stands for in
// the walk of PinyinQuery::matches, one byte per pair (of[lead << 8 | next]):
// in the low seven bits the ASCII byte folded to lower case (next aside), or
// the pinyin initial of a double-byte character (kNoInitial without one);
// kLineFlag when the character's bytes hold a CR or LF, whose characters
// only the general walker knows.
struct PinyinCharClasses {
  static constexpr unsigned char kNoInitial = 0x7F;
  static constexpr unsigned char kLineFlag = 0x80;
  unsigned char of[1 << 16] = {};
};
extern const PinyinCharClasses kPinyinCharClasses;

// pinyinPrefixMatch with the query split once for a whole run.
class PinyinQuery {
 public:
  explicit PinyinQuery(std::string_view query);

  // Same result as pinyinPrefixMatch(keyword, query). Inline, as the test of
  // every keyword of a letter file.
  bool matches(std::string_view keyword) const {
    if (tableWalk_ && keyword.size() >= 2 * steps_.size()) return matchesByTable(keyword);
    return matchesByWalk(keyword);
  }

 private:
  // The same for a keyword of at least 2 bytes a query character, whose walk
  // then stays inside it, with no branch on the keyword's bytes: their
  // outcomes are as good as random to the processor (most keywords part from
  // the query at their second or third character).
  bool matchesByTable(std::string_view keyword) const {
    const auto* b = reinterpret_cast<const unsigned char*>(keyword.data());
    std::size_t pos = 0;
    unsigned ok = 1;
    unsigned lineByte = 0;
    for (const Step& step : steps_) {
      const unsigned pair = static_cast<unsigned>(b[pos]) << 8 | b[pos + 1];
      const unsigned v = kPinyinCharClasses.of[pair];
      lineByte |= v & PinyinCharClasses::kLineFlag;
      ok &= static_cast<unsigned>((v & ~static_cast<unsigned>(PinyinCharClasses::kLineFlag)) == step.letter) |
            static_cast<unsigned>(pair == step.pair);
      pos += 1 + (b[pos] >> 7);
    }
    return lineByte ? matchesWalking(keyword) : ok != 0;
  }
  bool matchesByWalk(std::string_view keyword) const;   // any keyword
  bool matchesWalking(std::string_view keyword) const;  // the same, by the general walker

  struct Char {
    std::string bytes;  // the query character as typed
    std::string folded;  // with ASCII A-Z folded to a-z
  };
  std::vector<Char> chars_;
  // Each query character as matchesByTable compares it: the class it
  // accepts (an ASCII character folded) or the two bytes it equals.
  struct Step {
    std::uint32_t letter;
    std::uint32_t pair;
  };
  std::vector<Step> steps_;
  bool tableWalk_ = true;  // false when a query character is one the table cannot stand for
};

// The letter index a left or pinyin search uses: the pinyin initial of the
// query's first character (or that character itself), upper-cased, picks
// "A".."Z" (1..26); an ASCII digit picks "0-9" (27); anything else, and an
// empty query, keeps letterIndex.
int autoLetter(std::string_view query, int letterIndex);

}  // namespace kx
