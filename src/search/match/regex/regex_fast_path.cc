#include "search/match/regex/regex_fast_path.h"

namespace kx::regex {

void FastPathAnalysis::noteTerm(const Atom& atom, std::optional<std::int64_t> minRepeat) {
  noteLineStart(atom, minRepeat);
  if (atom.kind == AtomKind::Literal && !minRepeat) {
    run_ += atom.literal;
  } else {
    endRun();
  }
}

// Follows the first two top-level terms: when they are ^ and then one
// character or listable class that must occur at least once, every match
// starts with one of its members. Any other term gives up.
void FastPathAnalysis::noteLineStart(const Atom& atom, std::optional<std::int64_t> minRepeat) {
  const int term = terms_++;
  if (term == 0) {
    startsWithCaret_ = atom.kind == AtomKind::LineStart;
    return;
  }
  if (term != 1 || !startsWithCaret_ || (minRepeat && *minRepeat < 1)) return;
  if (atom.kind == AtomKind::Literal) {
    LineStartCharacters set;
    if (atom.literal < 0x80) set.ascii.set(atom.literal);
    set.nonAscii = atom.literal >= 0x80;
    lineStart_ = set;
  } else if (atom.kind == AtomKind::Class) {
    lineStart_ = atom.members;
  }
}

void FastPathAnalysis::endRun() {
  if (!run_.empty()) runs_.push_back(std::move(run_));
  run_.clear();
}

void FastPathAnalysis::finish(TranslatedRegex& result) {
  endRun();
  if (alternation_) return;
  result.requiredRuns = std::move(runs_);
  result.lineStart = lineStart_;
}

}  // namespace kx::regex
