// Scanners test the keywords of a run of whole lines for one match mode. The
// driver feeds them blocks; they hand matches back through ScanLoop, which
// also lets the view process events and tells them when to stop.
#pragma once

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <memory>
#include <string_view>

#include "search/run/result_sink.h"
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
// false to stop. LFs are found 16 bytes at a time, since keywords are short.
template <typename Fn>
inline void forEachLine(std::string_view lines, Fn fn) {
  const char* const base = lines.data();
  const std::size_t n = lines.size();
  std::size_t start = 0;
  auto emitLine = [&](std::size_t lf) {
    const std::size_t end = (lf > start && base[lf - 1] == '\r') ? lf - 1 : lf;
    const bool more = fn(std::string_view(base + start, end - start));
    start = lf + 1;
    return more;
  };
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= n; i += 16) {
    unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i)), lf)));
    while (mask) {
      if (!emitLine(i + static_cast<std::size_t>(__builtin_ctz(mask)))) return;
      mask &= mask - 1;
    }
  }
#endif
  for (; i < n; ++i) {
    if (base[i] == '\n' && !emitLine(i)) return;
  }
  if (start < n) fn(std::string_view(base + start, n - start));
}

// The number of keywords in a block of whole lines when it is already in the
// export format (every line ends in CR LF, the last one too); -1 otherwise.
long countExportLines(std::string_view lines);

class LineScanner {
 public:
  virtual ~LineScanner() = default;

  // Tests every keyword of lines (whole lines, see forEachLine), calling
  // loop.match for each match in order and loop.beforeKeyword (or loop.pump
  // for scanners that skip lines in bulk) often enough. Returns false when
  // the loop asked it to stop.
  virtual bool scan(std::string_view lines, ScanLoop& loop) = 0;
};

}  // namespace kx
