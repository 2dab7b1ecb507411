// One read of the store for a whole batch of queries of one mode (a miner's
// list of root words): every keyword that any query finds, once, in store
// order, with the queries that found it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "search/match/match_mode.h"
#include "search/run/search_run.h"
#include "search/scan/exclude_words.h"
#include "search/store/keyword_store.h"

namespace kx {

class RegexMatcher;

struct BatchSearch {
  MatchMode mode = MatchMode::MatchMiddle;
  KeywordCategory category = KeywordCategory::ProductWords;
  int letter = kAllIndex;  // 1..28; left and pinyin queries follow their own first letter instead
  std::vector<std::string> queries;       // GBK, distinct
  const ExcludeWords* exclude = nullptr;  // keywords holding any of these are left out
  RunThreads threads;
  // Wildcard and regex modes: one matcher per query, its pattern set.
  std::vector<RegexMatcher*> matchers;
};

struct BatchProgress {
  int filesDone = 0;
  int filesTotal = 0;
  std::int64_t keywordsRead = 0;
  std::int64_t matches = 0;
};

class BatchSink {
 public:
  virtual ~BatchSink() = default;
  // Takes a matching keyword (GBK, without line end) and the indexes into
  // BatchSearch::queries of the queries that found it, ascending. The views
  // are valid during the call only.
  virtual void add(std::string_view keyword, std::span<const std::uint32_t> queries) = 0;
  // Whether the run should count the keywords it reads and call progress.
  virtual bool wantsProgress() const { return false; }
  // Called after every block and at the end of every letter file.
  virtual void progress(const BatchProgress&) {}
};

struct BatchOutcome {
  std::vector<std::int64_t> counts;  // keywords each query found, after the excludes
  std::int64_t matches = 0;          // keywords any query found, each once
  std::vector<int> missingLetters;   // letter files the run needed that are missing or did not open
  bool readError = false;            // a letter file could not be read to its end
};

// Runs search over store into sink.
BatchOutcome runBatch(KeywordStore& store, const BatchSearch& search, BatchSink& sink);

}  // namespace kx
