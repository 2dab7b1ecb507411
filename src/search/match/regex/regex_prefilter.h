// The byte search that finds candidate lines for a pattern with a required
// literal, so the GBK conversion and the regex engine see only those lines.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "search/scan/substring_search.h"

namespace kx {

class LiteralPrefilter {
 public:
  // needle: non-empty GBK bytes. With foldAscii, ASCII letters of the needle
  // match either case (so do trail bytes that look like letters, which only
  // adds candidates).
  LiteralPrefilter(std::string needle, bool foldAscii);

  // The first position in [from, end) where the needle may start, or end when
  // there is none. Never misses an occurrence; a hit may start inside a
  // double-byte character, so the caller must still run the engine on it.
  const char* find(const char* from, const char* end) const;

  const std::string& needle() const { return needle_; }
  // Whether ASCII letters of the needle match either case.
  bool foldsAscii() const { return fold_; }

 private:
  bool equalsAt(const char* p) const;
  const char* findFirstByteEitherCase(const char* from, const char* end) const;

  const std::string needle_;
  const bool fold_;
  // Where the longest stretch of the needle that compares exactly (no letter
  // when folding) starts in it, and its search.
  std::size_t anchorOffset_ = 0;
  const SubstringSearcher anchor_;
};

// The prefilter for the required literal runs of a translated pattern, or
// null when no run is safe to search bytewise: a character with more than
// one GBK encoding or none, U+FFFD, or (with ignoreCase) a non-ASCII
// character that may have a case partner breaks a run. The longest remaining
// piece of at least two bytes wins.
std::unique_ptr<LiteralPrefilter> choosePrefilter(const std::vector<std::u16string>& runs, bool ignoreCase);

}  // namespace kx
