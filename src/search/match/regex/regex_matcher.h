// The regular-expression engine of the wildcard and regex modes: one per
// process, keeping its pattern and flags from one run to the next.
//
// Patterns are read in the ECMAScript-style dialect (see regex_translator.h)
// and run by PCRE2 in UTF-16 mode, JIT-compiled where the platform allows.
// Texts arrive as GBK and are converted, so `.` is one character whether it
// is stored in one byte or two.
#pragma once

#include <atomic>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "search/match/regex/regex_prefilter.h"
#include "search/match/regex/regex_subject.h"
#include "search/match/regex/regex_translator.h"
#include "search/match/wildcard.h"

namespace kx {

class RegexMatcher {
 public:
  // Where the engine takes its memory from (PCRE2's general-context
  // functions); the default is malloc and free. Matching without the JIT may
  // call them from every thread of a search run at once.
  struct EngineMemory {
    void* (*allocate)(std::size_t size, void* data);
    void (*release)(void* block, void* data);
    void* data;
  };

  // Constructs the engine with the initial empty pattern, which matches every
  // text. When construction fails the engine is absent and every
  // countMatches returns 0.
  RegexMatcher();
  explicit RegexMatcher(const EngineMemory& memory);
  virtual ~RegexMatcher();
  RegexMatcher(const RegexMatcher&) = delete;
  RegexMatcher& operator=(const RegexMatcher&) = delete;

  // Sets pattern (GBK) and flags. No engine work when both are unchanged; an
  // empty pattern is never sent, so the previous pattern stays in force with
  // the new flags. Always returns true; a pattern the engine rejects makes
  // every countMatches return 0 (see errorText). Resets limitHitCount.
  virtual bool setPattern(std::string_view pattern, bool ignoreCase = true, bool multiline = true, bool global = true);

  // Number of matches of the pattern in text (GBK): 0 or 1 with Global off.
  // A failed engine call (bad pattern, missing engine, runaway backtracking)
  // yields 0.
  virtual int countMatches(std::string_view text);

  // Whether the pattern matches anywhere in keyword (GBK): countMatches != 0
  // without the virtual call and, with Global on, without counting on.
  bool matches(std::string_view keyword);

  // False when the engine could not be constructed.
  bool engineAvailable() const { return engine_ != nullptr; }

  // Why the pattern in force does not compile, in English, and the 0-based
  // character offset in the pattern where the engine saw the problem. Empty
  // text (offset 0) when it compiles.
  const std::string& errorText() const { return errorText_; }
  std::size_t errorOffset() const { return errorOffset_; }
  // True when that error is a construct the dialect allows but the engine
  // cannot run (a lookbehind of varying length, a repeat count over 65535),
  // false for a pattern that is simply invalid.
  bool errorIsUnsupported() const { return unsupported_; }

  // Number of texts since the last setPattern whose matching stopped at the
  // engine's work limit and therefore counted as no match, by the matcher
  // and by all its workers.
  std::int64_t limitHitCount() const { return limitHits_.load(std::memory_order_relaxed); }

  // The byte search for the pattern's required literal, or null when the
  // pattern in force has none that is safe to use or the fast paths are off.
  // Valid until the next setPattern.
  const LiteralPrefilter* prefilter() const { return fastPaths_ ? prefilter_.get() : nullptr; }

  // Turns the fast paths (the prefilter and the first-character shortcut of
  // matches) on or off; on by default. Off, every keyword goes to the engine,
  // which is what the fast paths are checked against.
  void setFastPaths(bool on) { fastPaths_ = on; }

  // Bounds on the work of one match: PCRE2's match limit (also the JIT's),
  // its depth limit and the JIT stack, so no text costs more than a few
  // milliseconds.
  static constexpr std::uint32_t kMatchLimit = 1000000;
  static constexpr std::uint32_t kDepthLimit = 10000;
  static constexpr std::size_t kJitStackBytes = 1 << 20;

  // Matches keywords against the matcher's pattern on one thread while other
  // workers do the same on theirs: the compiled pattern is shared read-only,
  // the match data, the JIT stack and the conversion buffer are the worker's
  // own. The matcher must outlive the worker and keep its pattern while the
  // worker is used.
  class Worker {
   public:
    // Throws std::bad_alloc when the engine's memory runs out.
    explicit Worker(RegexMatcher& matcher);
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // The same results as the matcher's own, counting limit hits into it.
    bool matches(std::string_view keyword);
    int countMatches(std::string_view text);

   private:
    struct State;
    // Runs the engine on subject from offset; >0 match, 0 none, <0 failure.
    int matchAt(std::u16string_view subject, std::size_t offset);

    RegexMatcher& matcher_;
    const std::unique_ptr<State> state_;  // null when there is no pattern to run
    Utf16Subject subject_;
  };

 private:
  struct Engine;

  void compile();
  void noteLineStart(const std::optional<LineStartCharacters>& lineStart);
  bool ruledOutByFirstCharacter(std::string_view keyword) const;

  std::unique_ptr<Engine> engine_;
  std::string cachedPattern_;  // last non-empty pattern set, GBK
  int cachedMask_ = 0;         // 1 IgnoreCase, 2 Multiline, 4 Global
  std::string errorText_;
  std::size_t errorOffset_ = 0;
  bool unsupported_ = false;
  std::atomic<std::int64_t> limitHits_ = 0;
  std::unique_ptr<LiteralPrefilter> prefilter_;
  bool fastPaths_ = true;
  std::unique_ptr<Worker> own_;  // the matcher's own matching; null without a pattern to run
  // For a pattern that matches only at line starts and only from a known set
  // of first characters: lets a one-line keyword be rejected from its first
  // byte, without conversion. Off when the pattern is not of that kind.
  bool lineStartKnown_ = false;
  std::bitset<128> lineStartAscii_;  // ASCII first characters, after case folding
  bool lineStartNonAscii_ = false;   // whether a non-ASCII character may begin a match
};

}  // namespace kx
