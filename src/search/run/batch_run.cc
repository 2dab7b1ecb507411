#include "search/run/batch_run.h"

#include <algorithm>

#include "search/run/block_pipeline.h"
#include "search/scan/batch_scanner.h"

namespace kx {
namespace {

// Adds the blocks' matches to the outcome and hands them to the sink, in order.
class BatchHandOn : public BlockPipeline::Consumer {
 public:
  BatchHandOn(BatchSink& sink, BatchOutcome& outcome, BatchProgress& progress)
      : sink_(sink), outcome_(outcome), progress_(progress), counting_(sink.wantsProgress()) {}

  bool handOn(std::string_view lines, const BlockMatches& matches) override {
    std::uint32_t from = 0;
    for (std::size_t i = 0; i < matches.keywords.size(); ++i) {
      const std::uint32_t to = matches.queryEnds[i];
      const std::span<const std::uint32_t> ids(matches.queryIds.data() + from, to - from);
      for (std::uint32_t id : ids) ++outcome_.counts[id];
      sink_.add(matches.keywords[i], ids);
      from = to;
    }
    outcome_.matches += static_cast<std::int64_t>(matches.keywords.size());
    if (counting_) {
      progress_.keywordsRead += std::count(lines.begin(), lines.end(), '\n');
      progress_.matches = outcome_.matches;
      sink_.progress(progress_);
    }
    return true;
  }

  bool waiting() override { return true; }

 private:
  BatchSink& sink_;
  BatchOutcome& outcome_;
  BatchProgress& progress_;
  const bool counting_;
};

// Lets one pipeline serve the whole run while the scanner changes from one
// letter file to the next (never while a file is being read).
class FileScanner : public BlockScanner {
 public:
  void use(BlockScanner* scanner) {
    current_ = scanner;
    current_->setWorkers(workers_);
  }
  void setWorkers(int workers) override {
    workers_ = workers;
    if (current_) current_->setWorkers(workers);
  }
  void scan(std::string_view lines, BlockMatches& out, int worker) override { current_->scan(lines, out, worker); }

 private:
  BlockScanner* current_ = nullptr;
  int workers_ = 1;
};

bool sameQueries(const std::vector<BatchQuery>& a, const std::vector<BatchQuery>& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](const BatchQuery& x, const BatchQuery& y) { return x.id == y.id; });
}

}  // namespace

BatchOutcome runBatch(KeywordStore& store, const BatchSearch& search, BatchSink& sink) {
  BatchOutcome outcome;
  outcome.counts.assign(search.queries.size(), 0);

  // The queries each letter file serves: those whose single search reads it.
  std::vector<BatchQuery> perFile[kLetterFileCount + 1];
  std::vector<RegexMatcher*> matchersPerFile[kLetterFileCount + 1];
  for (std::uint32_t id = 0; id < search.queries.size(); ++id) {
    const int letter = searchLetter(search.mode, search.queries[id], search.letter);
    for (int i = 1; i <= kLetterFileCount; ++i) {
      if (letter != kAllIndex && letter != i) continue;
      perFile[i].push_back({id, search.queries[id]});
      if (!search.matchers.empty()) matchersPerFile[i].push_back(search.matchers[id]);
    }
  }

  BatchProgress progress;
  std::uint64_t runBytes = 0;
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if (perFile[i].empty()) continue;
    ++progress.filesTotal;
    if (const LetterFile* file = store.letterFile(search.category, i)) runBytes += file->length();
  }

  BatchHandOn handOn(sink, outcome, progress);
  FileScanner fileScanner;
  BlockPipeline pipeline(search.threads.threads, &fileScanner, search.threads.blockSize, runBytes,
                         search.threads.minSharedWork);
  std::unique_ptr<BlockScanner> scanner;
  int scannerFile = 0;
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if (perFile[i].empty()) continue;
    LetterFile* file = store.letterFile(search.category, i);
    if (!file) {
      outcome.missingLetters.push_back(i);
      continue;
    }
    // Files that serve the same queries share one scanner (all of them, unless left or pinyin).
    if (!scanner || !sameQueries(perFile[i], perFile[scannerFile])) {
      scanner = makeBatchScanner(search.mode, perFile[i], search.exclude, std::move(matchersPerFile[i]));
      fileScanner.use(scanner.get());
    }
    scannerFile = i;
    if (!pipeline.run(*file, handOn)) outcome.readError = true;
    ++progress.filesDone;
    if (sink.wantsProgress()) sink.progress(progress);
  }
  return outcome;
}

}  // namespace kx
