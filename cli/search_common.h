// What the single and the batch search of kestrix-cli share: printing
// matches, pattern errors, missing letter files and the progress line.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

#include "search/match/match_mode.h"
#include "search/match/regex/regex_matcher.h"
#include "search/run/result_sink.h"
#include "search/store/keyword_store.h"

namespace kx::cli {

// Prints each match as UTF-8 with LF.
class StdoutSink : public ResultSink {
 public:
  void add(std::string_view keyword) override;
  bool failed() const { return failed_; }

 private:
  std::string line_;
  bool failed_ = false;
};

// text as a field of a tab-separated line: quoted, with its quotes doubled,
// when it holds a tab or a quote.
std::string tsvField(std::string_view text);

// Sets the pattern of mode (wildcard or regex) for query on matcher. Returns
// an empty text when it compiles, otherwise what is wrong with it and where.
std::string setSearchPattern(RegexMatcher& matcher, MatchMode mode, std::string_view query);

// Names, on stderr, the letter file index of category under dataDir as
// missing; returns kExitIo.
int reportMissingFile(const std::string& dataDir, KeywordCategory category, int index);

// A progress line on stderr, redrawn at most four times a second, when
// stderr is a terminal; wiped when the object goes.
class ProgressLine {
 public:
  ProgressLine();
  ~ProgressLine();
  bool shown() const { return tty_; }
  // Redraws the line with text unless it was drawn less than 250 ms ago (or force).
  void show(const std::string& text, bool force = false);

 private:
  const bool tty_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point last_{};
};

}  // namespace kx::cli
