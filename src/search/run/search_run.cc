#include "search/run/search_run.h"

#include "search/match/gbk_text.h"
#include "search/match/pinyin.h"
#include "search/match/regex/regex_matcher.h"
#include "search/match/regex/regex_scanner.h"
#include "search/run/block_pipeline.h"
#include "search/scan/line_scanner.h"
#include "search/scan/plain_scanners.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

std::string progressTextFor(int index) {
  static const std::string head = *utf8ToGbk("正在查询 ");
  static const std::string tail = *utf8ToGbk(" 索引下的关键词..");
  return head + letterIndexName(index) + tail;
}

// Hands the blocks of the pipeline on to the sink through the loop, on the
// run's own thread.
class HandOn : public BlockPipeline::Consumer {
 public:
  explicit HandOn(ScanLoop& loop) : loop_(loop) {}

  bool handOn(std::string_view lines, const BlockMatches& matches) override {
    if (!loop_.pump()) return false;
    if (matches.wholeBlock >= 0) {
      loop_.matchLines(lines, matches.wholeBlock);
      return true;
    }
    for (std::string_view keyword : matches.keywords) {
      if (!loop_.beforeKeyword()) return false;
      loop_.match(keyword);
    }
    return true;
  }

  bool waiting() override { return loop_.pump(); }

 private:
  ScanLoop& loop_;
};

// The bytes of the letter files that a run of letter (1..27 or kAllIndex)
// reads in category, as the run starts: whether other threads would pay
// depends on it.
std::uint64_t bytesToRead(KeywordStore& store, int category, int letter) {
  std::uint64_t bytes = 0;
  if (category != 0 && category != 1) return bytes;
  for (int i = 1; i <= kLetterFileCount; ++i) {
    const LetterFile* file = store.letterFile(static_cast<KeywordCategory>(category), i);
    if (file && (letter == kAllIndex || i == letter)) bytes += file->length();
  }
  return bytes;
}

}  // namespace

int searchLetter(MatchMode mode, std::string_view query, int letter) {
  return mode == MatchMode::MatchLeft || mode == MatchMode::MatchPinyin ? autoLetter(query, letter) : letter;
}

void runSearch(SearchView& view, KeywordStore& store, RegexMatcher* matcher, RunState& state, ResultSink& sink,
               const RunThreads& threads) {
  const MatchMode mode = view.matchMode();
  // The pattern is set once per run; the scanner then tests every keyword.
  if (mode == MatchMode::MatchWildcard) matcher->setPattern(wildcardToPattern(view.queryText()), true, true, false);
  if (mode == MatchMode::MatchRegex) matcher->setPattern(view.queryText(), true, true, false);

  const int letter = searchLetter(mode, view.queryText(), view.letterPosition() + 1);

  const std::string query = view.queryText();
  const int n = charCount(query);
  const bool regexMode = mode == MatchMode::MatchWildcard || mode == MatchMode::MatchRegex;
  std::unique_ptr<BlockScanner> scanner = regexMode ? makeRegexScanner(*matcher) : makePlainScanner(mode, query, n);

  view.clearList();
  view.setTimerInterval(1000);
  state.matchCount = 0;

  ScanLoop loop(view, state, sink);
  HandOn handOn(loop);
  BlockPipeline pipeline(threads.threads, scanner.get(), threads.blockSize,
                         bytesToRead(store, view.categoryPosition(), letter), threads.minSharedWork);
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if (state.stopRequested) break;
    view.processPendingMessages();
    if (letter != kAllIndex && i != letter) continue;
    // The category is read anew for every file, so a change mid-run applies to the next one.
    const int category = view.categoryPosition();
    LetterFile* file = category == 0 || category == 1 ? store.letterFile(static_cast<KeywordCategory>(category), i)
                                                      : nullptr;
    state.progressText = progressTextFor(i);
    if (file && !state.stopRequested) pipeline.run(*file, handOn);
  }

  view.setTimerInterval(0);
  view.refreshProgress();
}

}  // namespace kx
