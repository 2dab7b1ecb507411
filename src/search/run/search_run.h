// One search run: reads the options from the view, reads the chosen letter
// files, tests every keyword with the mode's predicate and hands each match to
// a sink.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "search/store/keyword_store.h"
#include "search/match/match_mode.h"
#include "search/run/block_pipeline.h"
#include "search/run/file_blocks.h"
#include "search/run/result_sink.h"

namespace kx {

class RegexMatcher;

// Shared between the driver, the start commands and the progress display.
struct RunState {
  bool stopRequested = false;  // set by a stop click; cleared when a run starts
  std::int32_t matchCount = 0;  // matches of the current (or last) run
  std::string progressText;     // "正在查询 " + letter + " 索引下的关键词.." (GBK)
};

// What the driver needs of the window (or of the CLI, or of a test).
class SearchView {
 public:
  virtual ~SearchView() = default;

  // The mode the radio buttons select (see readMatchMode).
  virtual MatchMode matchMode() = 0;
  // The keyword box's whole content, GBK, exactly as typed.
  virtual std::string queryText() = 0;
  // Position of the letter selector's entry, 0..27 (27 = "all").
  virtual int letterPosition() = 0;
  // Position of the category selector, 0 or 1; read at the start of every letter file.
  virtual int categoryPosition() = 0;
  // Removes all rows of the result list.
  virtual void clearList() = 0;
  // Starts (1000) or stops (0) the progress timer.
  virtual void setTimerInterval(int milliseconds) = 0;
  // Lets pending window events run. The driver calls it before every letter
  // file, for every block of a few hundred KiB, every 64 matches and while it
  // waits for other threads, and tests stopRequested right after and before
  // every match it hands on, so no keyword reaches the sink after a stop click
  // has been seen. Views that are costly to pump should time-slice it.
  virtual void processPendingMessages() = 0;
  // Shows the progress once; the driver calls it at the end of every run.
  virtual void refreshProgress() = 0;
};

// How many threads a run reads, deciphers and scans with. Whatever the
// number, the view and the sink are only called on the run's own thread, and
// matches reach the sink in store order.
struct RunThreads {
  int threads = 0;  // 1: the run's own thread alone; 0: every core
  std::size_t blockSize = kDefaultBlockSize;
  // The least work still ahead, in processor time, that the other threads
  // start for (see BlockPipeline); 0 starts them at once.
  std::chrono::microseconds minSharedWork = BlockPipeline::kMinSharedWork;
};

// The letter index (1..28) of the files a search of query in mode reads when
// letter is chosen: left and pinyin searches follow the query's first
// character instead (see autoLetter).
int searchLetter(MatchMode mode, std::string_view query, int letter);

// Runs one search into sink. matcher serves the wildcard and regex modes and
// keeps its pattern between runs; the other modes need none (it may be
// null). Reports nothing; the outcome is in state.matchCount and in the sink.
void runSearch(SearchView& view, KeywordStore& store, RegexMatcher* matcher, RunState& state, ResultSink& sink,
               const RunThreads& threads = {});

}  // namespace kx
