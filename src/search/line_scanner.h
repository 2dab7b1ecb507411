// Scanners test the keywords of a run of whole lines for one match mode. The
// driver feeds them blocks; they hand matches back through ScanLoop, which
// also lets the view process events and tells them when to stop.
#pragma once

#include <cstring>
#include <memory>
#include <string_view>

#include "search/result_sink.h"
#include "search/search_run.h"

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

  static constexpr int kPumpEvery = 64;

 private:
  SearchView& view_;
  RunState& state_;
  ResultSink& sink_;
  int countdown_ = kPumpEvery;
};

// Splits a block of whole lines into keywords: each line without its LF and
// without one CR directly before it. The last line may lack its LF.
template <typename Fn>
inline void forEachLine(std::string_view lines, Fn fn) {
  const char* p = lines.data();
  const char* const end = p + lines.size();
  while (p < end) {
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = lf ? lf : end;
    const char* kwEnd = (lf && stop > p && stop[-1] == '\r') ? stop - 1 : stop;
    if (!fn(std::string_view(p, static_cast<std::size_t>(kwEnd - p)))) return;
    p = lf ? lf + 1 : end;
  }
}

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
