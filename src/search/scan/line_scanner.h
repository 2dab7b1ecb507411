// How a block of whole lines splits into keywords (forEachLine), and
// ScanLoop, which hands on the matches that block scanners (block_scanner.h)
// found, lets the view process events and tells when to stop.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "search/run/result_sink.h"
#include "search/scan/byte_scan.h"
#include "search/run/search_run.h"

namespace kx {

class ScanLoop {
 public:
  // view, state and sink must outlive the loop.
  ScanLoop(SearchView& view, RunState& state, ResultSink& sink) : view_(view), state_(state), sink_(sink) {}

  // Call before each keyword. Every kPumpEvery keywords it lets the view
  // process events; returns false once a stop has been asked for.
  bool beforeKeyword() {
    if (--countdown_ == 0) return pump();
    return !state_.stopRequested;
  }

  // Lets the view process events now; returns false once a stop has been asked for.
  bool pump() {
    countdown_ = kPumpEvery;
    view_.processPendingMessages();
    return !state_.stopRequested;
  }

  // Counts a match and hands it to the sink.
  void match(std::string_view keyword) {
    ++state_.matchCount;
    sink_.add(keyword);
  }

  // Counts count matches and hands them to the sink at once: lines holds
  // them in the export format (see countExportLines).
  void matchLines(std::string_view lines, long count) {
    state_.matchCount += static_cast<std::int32_t>(count);
    sink_.addLines(lines, count);
  }

  static constexpr int kPumpEvery = 64;

 private:
  SearchView& view_;
  RunState& state_;
  ResultSink& sink_;
  int countdown_ = kPumpEvery;
};

// Splits a block of whole lines into keywords: each line without its LF and
// without one CR directly before it. The last line may lack its LF. fn returns
// false to stop. The line ends of a stretch are found first, many at a time.
template <typename Fn>
inline void forEachLine(std::string_view lines, Fn fn) {
  constexpr std::size_t kStretch = 4096;
  std::uint32_t ends[kStretch];
  const char* const base = lines.data();
  const std::size_t n = lines.size();
  std::size_t start = 0;
  for (std::size_t at = 0; at < n; at += kStretch) {
    const std::size_t len = n - at < kStretch ? n - at : kStretch;
    const std::size_t count = findLineEnds(base + at, len, ends);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t lf = at + ends[k];
      const std::size_t end = (lf > start && base[lf - 1] == '\r') ? lf - 1 : lf;
      if (!fn(std::string_view(base + start, end - start))) return;
      start = lf + 1;
    }
  }
  if (start < n) fn(std::string_view(base + start, n - start));
}

}  // namespace kx
