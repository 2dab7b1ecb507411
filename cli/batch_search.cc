#include "cli/batch_search.h"

#include <memory>

#include "cli/cli_common.h"
#include "cli/search_common.h"
#include "cli/split_output.h"
#include "search/run/batch_run.h"
#include "search/run/file_sink.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

// The queries of the run, with their regex matchers where the mode needs them.
struct Queries {
  std::vector<std::string> texts;  // GBK
  std::vector<std::unique_ptr<RegexMatcher>> matchers;
};

// Reads a word list, printing what it skipped; nullopt (the exit code in
// *code) when it cannot be read.
std::optional<WordList> readList(const std::string& path, ListEncoding encoding, int* code) {
  std::string error;
  auto list = readWordList(path, encoding, &error);
  if (!list) {
    *code = fail(kExitIo, "cannot read " + error);
    return std::nullopt;
  }
  for (const std::string& message : list->skipped) fail(kExitOk, message);
  return list;
}

// Builds the queries from the options; an exit code when the run cannot start.
std::optional<int> collectQueries(const SearchOptions& o, Queries& q) {
  const bool batch = !o.queriesFile.empty();
  WordList list;
  if (batch) {
    int code = kExitOk;
    auto read = readList(o.queriesFile, o.encoding, &code);
    if (!read) return code;
    list = std::move(*read);
  } else {
    list.words = {o.query};
    list.lineNumbers = {0};
  }
  const bool regexMode = o.mode == MatchMode::MatchWildcard || o.mode == MatchMode::MatchRegex;
  for (std::size_t i = 0; i < list.words.size(); ++i) {
    if (regexMode) {
      auto matcher = std::make_unique<RegexMatcher>();
      if (!matcher->engineAvailable()) return fail(kExitIo, "the regular-expression engine could not be set up");
      const std::string error = setSearchPattern(*matcher, o.mode, list.words[i]);
      if (!error.empty()) {
        if (!batch) return fail(kExitUsage, error);
        fail(kExitOk, o.queriesFile + ":" + std::to_string(list.lineNumbers[i]) + ": " + error + "; line skipped");
        continue;
      }
      q.matchers.push_back(std::move(matcher));
    }
    q.texts.push_back(std::move(list.words[i]));
  }
  if (q.texts.empty()) return fail(kExitUsage, "no queries in " + o.queriesFile);
  return std::nullopt;
}

// Hands the matches on to the chosen output and draws the progress.
class CliBatchSink : public BatchSink {
 public:
  CliBatchSink(ResultSink* keywords, SplitOutput* split) : keywords_(keywords), split_(split) {}

  void add(std::string_view keyword, std::span<const std::uint32_t> queries) override {
    if (keywords_) keywords_->add(keyword);
    if (split_) split_->add(keyword, queries);
  }
  bool wantsProgress() const override { return progress_.shown(); }
  void progress(const BatchProgress& p) override {
    progress_.show("files " + std::to_string(p.filesDone) + "/" + std::to_string(p.filesTotal) + ", keywords read " +
                   std::to_string(p.keywordsRead) + ", matches " + std::to_string(p.matches));
  }

 private:
  ResultSink* const keywords_;
  SplitOutput* const split_;
  ProgressLine progress_;
};

}  // namespace

int runBatchSearch(const SearchOptions& o) {
  const bool batch = !o.queriesFile.empty();
  Queries q;
  if (auto code = collectQueries(o, q)) return *code;
  std::optional<WordList> excludeList;
  if (!o.excludeFile.empty()) {
    int code = kExitOk;
    excludeList = readList(o.excludeFile, o.encoding, &code);
    if (!excludeList) return code;
  }
  const ExcludeWords exclude(excludeList ? excludeList->words : std::vector<std::string>{});

  KeywordStore store;
  store.openStore(o.dataDir);

  StdoutSink stdoutSink;
  FileSink fileSink;
  SplitOutput split;
  ResultSink* keywords = o.count || !o.splitDir.empty() ? nullptr : &stdoutSink;
  if (!o.output.empty()) {
    if (!fileSink.open(o.output)) return fail(kExitIo, "cannot create " + o.output + ": " + fileSink.errorText());
    keywords = &fileSink;
  }
  if (!o.splitDir.empty()) {
    std::vector<std::string> labels;
    for (const std::string& text : q.texts) labels.push_back(gbkToUtf8(text));
    std::string error;
    if (!split.open(o.splitDir, q.texts, labels, &error)) return fail(kExitIo, error);
  }

  BatchSearch search;
  search.mode = o.mode;
  search.category = o.category;
  search.letter = o.letter;
  search.queries = q.texts;
  search.exclude = exclude.empty() ? nullptr : &exclude;
  search.threads = RunThreads{o.threads};
  for (auto& m : q.matchers) search.matchers.push_back(m.get());
  BatchOutcome outcome;
  {
    CliBatchSink sink(keywords, o.splitDir.empty() ? nullptr : &split);
    outcome = runBatch(store, search, sink);
  }

  int code = kExitOk;
  for (int letter : outcome.missingLetters) code = reportMissingFile(o.dataDir, o.category, letter);
  if (outcome.readError) code = fail(kExitIo, "a letter file could not be read to its end");
  if (!o.output.empty() && !fileSink.close()) {
    code = fail(kExitIo, "writing " + o.output + " failed after " + std::to_string(fileSink.written()) +
                             " keywords: " + fileSink.errorText());
  }
  std::string error;
  if (!o.splitDir.empty() && !split.finish(outcome.counts, &error)) code = fail(kExitIo, error);
  std::int64_t limitHits = 0;
  for (auto& m : q.matchers) limitHits += m->limitHitCount();
  if (limitHits > 0)
    std::fprintf(stderr, "kestrix-cli: %lld keywords took a pattern too long to decide and count as no match\n",
                 static_cast<long long>(limitHits));
  if (o.count && batch) {
    for (std::size_t i = 0; i < q.texts.size(); ++i)
      std::printf("%s\t%lld\n", tsvField(gbkToUtf8(q.texts[i])).c_str(), static_cast<long long>(outcome.counts[i]));
    std::printf("\t%lld\n", static_cast<long long>(outcome.matches));
  } else if (o.count) {
    std::printf("%lld\n", static_cast<long long>(outcome.matches));
  }
  if (std::fflush(stdout) != 0 || stdoutSink.failed()) code = fail(kExitIo, "writing to standard output failed");
  return code;
}

}  // namespace kx::cli
