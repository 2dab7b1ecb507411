// What the matcher's fast paths may rely on, found while a pattern is read:
// the literal runs every match contains (for the prefilter) and the
// characters every match starts a line with (for the first-character
// shortcut). It understands a few shapes fully and gives up on any other,
// so it never claims what the engine could contradict.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "search/match/regex/regex_translator.h"

namespace kx::regex {

// What an atom turned out to be, for quantifier and fast-path decisions.
enum class AtomKind { Literal, Class, LineStart, Assertion, Lookahead, Other };

struct Atom {
  Atom() = default;
  explicit Atom(AtomKind k, char16_t c = 0) : kind(k), literal(c) {}
  AtomKind kind = AtomKind::Other;
  char16_t literal = 0;  // the character of a Literal
  // The members of a Class (a bracket class or a class escape), when they
  // can be listed exactly.
  std::optional<LineStartCharacters> members;
};

class FastPathAnalysis {
 public:
  // One top-level term, in pattern order: its atom and the lower bound of
  // its quantifier (nothing when it has none).
  void noteTerm(const Atom& atom, std::optional<std::int64_t> minRepeat);

  // A top-level '|': then nothing is certain.
  void noteAlternation() { alternation_ = true; }

  // Sets result's requiredRuns and lineStart; call once, after the last term.
  void finish(TranslatedRegex& result);

 private:
  void noteLineStart(const Atom& atom, std::optional<std::int64_t> minRepeat);
  void endRun();

  bool alternation_ = false;
  std::u16string run_;
  std::vector<std::u16string> runs_;
  int terms_ = 0;
  bool startsWithCaret_ = false;
  std::optional<LineStartCharacters> lineStart_;
};

}  // namespace kx::regex
