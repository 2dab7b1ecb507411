// kestrix-cli search: one search run over the store, like the window's, with
// the matches printed, counted or exported; or a batch of queries (see
// batch_search.h).
#include <cstdio>
#include <optional>
#include <string>

#include "cli/batch_search.h"
#include "cli/cli_common.h"
#include "cli/commands.h"
#include "cli/search_common.h"
#include "cli/search_options.h"
#include "search/run/file_sink.h"
#include "search/run/search_run.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

// The run's options come from the command line; progress goes to a terminal.
class CliView : public SearchView {
 public:
  CliView(const SearchOptions& o, RunState& state) : o_(o), state_(state) {}

  MatchMode matchMode() override { return o_.mode; }
  std::string queryText() override { return o_.query; }
  int letterPosition() override { return o_.letter - 1; }
  int categoryPosition() override { return static_cast<int>(o_.category); }
  void clearList() override {}
  void setTimerInterval(int) override {}
  void processPendingMessages() override {
    if (progress_.shown() && ++calls_ % 4096 == 0) progress_.show(text());
  }
  void refreshProgress() override { progress_.show(text(), true); }

 private:
  std::string text() const { return gbkToUtf8(state_.progressText) + std::to_string(state_.matchCount); }

  const SearchOptions& o_;
  RunState& state_;
  ProgressLine progress_;
  unsigned calls_ = 0;
};

class CountSink : public ResultSink {
 public:
  void add(std::string_view) override {}
  void addLines(std::string_view, long) override {}
};

int runSingleSearch(const SearchOptions& o) {
  const bool regexMode = o.mode == MatchMode::MatchWildcard || o.mode == MatchMode::MatchRegex;
  // Only these modes pay for setting the engine up.
  std::optional<RegexMatcher> matcher;
  if (regexMode) {
    matcher.emplace();
    // The window finds nothing for a bad pattern; a script is better served by an error.
    if (!matcher->engineAvailable()) return fail(kExitIo, "the regular-expression engine could not be set up");
    const std::string error = setSearchPattern(*matcher, o.mode, o.query);
    if (!error.empty()) return fail(kExitUsage, error);
  }
  KeywordStore store;
  store.openStore(o.dataDir);
  RunState state;
  CliView view(o, state);

  FileSink fileSink;
  StdoutSink stdoutSink;
  CountSink countSink;
  ResultSink* sink = &stdoutSink;
  if (o.count) sink = &countSink;
  if (!o.output.empty()) {
    if (!fileSink.open(o.output)) return fail(kExitIo, "cannot create " + o.output + ": " + fileSink.errorText());
    sink = &fileSink;
  }

  runSearch(view, store, matcher ? &*matcher : nullptr, state, *sink, RunThreads{o.threads});

  int code = kExitOk;
  const int letter = searchLetter(o.mode, o.query, o.letter);
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if ((letter == kAllIndex || letter == i) && !store.letterFile(o.category, i))
      code = reportMissingFile(o.dataDir, o.category, i);
  }
  if (!o.output.empty() && !fileSink.close()) {
    code = fail(kExitIo, "writing " + o.output + " failed after " + std::to_string(fileSink.written()) +
                             " keywords: " + fileSink.errorText());
  }
  if (regexMode && matcher->limitHitCount() > 0)
    std::fprintf(stderr, "kestrix-cli: %lld keywords took the pattern too long to decide and count as no match\n",
                 static_cast<long long>(matcher->limitHitCount()));
  if (o.count) std::printf("%d\n", state.matchCount);
  if (std::fflush(stdout) != 0 || stdoutSink.failed()) code = fail(kExitIo, "writing to standard output failed");
  return code;
}

}  // namespace

int runSearchCommand(int argc, char** argv) {
  SearchOptions o;
  if (auto code = parseSearchOptions(argc, argv, o)) return *code;
  // Words to leave out need the batch's scanners, even for one query.
  if (!o.queriesFile.empty() || !o.excludeFile.empty()) return runBatchSearch(o);
  return runSingleSearch(o);
}

}  // namespace kx::cli
