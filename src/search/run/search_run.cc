#include "search/run/search_run.h"

#include "search/match/gbk_text.h"
#include "search/scan/line_scanner.h"
#include "search/match/pinyin.h"
#include "search/scan/plain_scanners.h"
#include "search/match/regex/regex_matcher.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

std::string progressTextFor(int index) {
  static const std::string head = *utf8ToGbk("正在查询 ");
  static const std::string tail = *utf8ToGbk(" 索引下的关键词..");
  return head + letterIndexName(index) + tail;
}

}  // namespace

void runSearch(SearchView& view, KeywordStore& store, RegexMatcher& matcher, RunState& state, ResultSink& sink) {
  const MatchMode mode = view.matchMode();
  // The pattern is set once per run; the scanner then tests every keyword.
  if (mode == MatchMode::MatchWildcard) matcher.setPattern(wildcardToPattern(view.queryText()), true, true, false);
  if (mode == MatchMode::MatchRegex) matcher.setPattern(view.queryText(), true, true, false);

  int letter = view.letterPosition() + 1;
  if (mode == MatchMode::MatchLeft || mode == MatchMode::MatchPinyin) letter = autoLetter(view.queryText(), letter);

  const std::string query = view.queryText();
  const int n = charCount(query);
  std::unique_ptr<LineScanner> scanner = mode == MatchMode::MatchWildcard || mode == MatchMode::MatchRegex
                                             ? makeRegexScanner(matcher)
                                             : makePlainScanner(mode, query, n);

  view.clearList();
  view.setTimerInterval(1000);
  state.matchCount = 0;

  ScanLoop loop(view, state, sink);
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if (state.stopRequested) break;
    view.processPendingMessages();
    if (letter != kAllIndex && i != letter) continue;
    // The category is read anew for every file, so a change mid-run applies to the next one.
    const int category = view.categoryPosition();
    LetterFile* file = category == 0 || category == 1 ? store.letterFile(static_cast<KeywordCategory>(category), i)
                                                      : nullptr;
    state.progressText = progressTextFor(i);
    rewind(file);
    while (!atEnd(file) && !state.stopRequested) {
      if (!scanner->scan(file->readLines(), loop)) break;
    }
  }

  view.setTimerInterval(0);
  view.refreshProgress();
}

}  // namespace kx
