#include "search/run/batch_run.h"

#include <gtest/gtest.h>

#include <set>

#include "search/match/regex/regex_matcher.h"
#include "search/match/wildcard.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

// One query searched alone, as the window and kestrix-cli do.
class OneQueryView : public SearchView {
 public:
  OneQueryView(MatchMode mode, std::string query) : mode_(mode), query_(std::move(query)) {}
  MatchMode matchMode() override { return mode_; }
  std::string queryText() override { return query_; }
  int letterPosition() override { return kAllIndex - 1; }
  int categoryPosition() override { return 0; }
  void clearList() override {}
  void setTimerInterval(int) override {}
  void processPendingMessages() override {}
  void refreshProgress() override {}

 private:
  MatchMode mode_;
  std::string query_;
};

class Collect : public ResultSink, public BatchSink {
 public:
  void add(std::string_view keyword) override { keywords.emplace_back(keyword); }
  void add(std::string_view keyword, std::span<const std::uint32_t> ids) override {
    keywords.emplace_back(keyword);
    queries.emplace_back(ids.begin(), ids.end());
  }
  std::vector<std::string> keywords;
  std::vector<std::vector<std::uint32_t>> queries;
};

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // 泄 is D0 B9, the bytes that straddle 中 (D6 D0) and 国 (B9 FA) in 中国人.
    write(1, {u8"阿迪达斯 男鞋", u8"阿迪", u8"阿迪", u8"ad男鞋 adidas", u8"啊"});
    write(14, {u8"nike 男鞋", u8"男鞋", u8"男鞋子", u8"NIKE"});
    write(26, {u8"中国人", u8"泄洪", u8"中泄", u8"鞋"});
    write(27, {u8"3D眼镜", u8"360 男鞋"});
    store_.openStore(dir_.path());
  }
  void write(int letter, const std::vector<const char8_t*>& keywords) {
    std::vector<std::string> bytes;
    for (const char8_t* k : keywords) bytes.push_back(gbk(k));
    test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, letter, test::lines(bytes));
  }

  std::vector<std::string> single(MatchMode mode, const std::string& query) {
    OneQueryView view(mode, query);
    RegexMatcher matcher;
    RunState state;
    Collect sink;
    runSearch(view, store_, &matcher, state, sink, RunThreads{1});
    return sink.keywords;
  }

  test::TempDir dir_;
  KeywordStore store_;
};

TEST_F(BatchRunTest, EveryModeFindsWhatEachSingleSearchFinds) {
  const std::vector<std::pair<MatchMode, std::vector<const char8_t*>>> cases = {
      {MatchMode::MatchMiddle, {u8"男鞋", u8"鞋", u8"泄", u8"阿迪", u8"a", u8"d男", u8"中国人民", u8"啊\r"}},
      {MatchMode::MatchLeft, {u8"阿迪", u8"阿", u8"男鞋", u8"n", u8"3", u8"中泄", u8"泄"}},
      {MatchMode::MatchRight, {u8"男鞋", u8"鞋", u8"泄", u8"s", u8"镜", u8"人"}},
      {MatchMode::MatchPinyin, {u8"ad", u8"nx", u8"3dyj", u8"zg", u8"x"}},
      {MatchMode::MatchWildcard, {u8"阿*鞋", u8"*鞋", u8"n?ke"}},
      {MatchMode::MatchRegex, {u8"鞋$", u8"^[a-z]+", u8"\\d"}},
  };
  for (const auto& [mode, utf8] : cases) {
    std::vector<std::string> queries;
    for (const char8_t* q : utf8) queries.push_back(gbk(q));
    std::vector<std::unique_ptr<RegexMatcher>> matchers;
    BatchSearch search;
    search.mode = mode;
    search.queries = queries;
    if (mode == MatchMode::MatchWildcard || mode == MatchMode::MatchRegex) {
      for (const std::string& q : queries) {
        matchers.push_back(std::make_unique<RegexMatcher>());
        matchers.back()->setPattern(mode == MatchMode::MatchWildcard ? wildcardToPattern(q) : q, true, true, false);
        search.matchers.push_back(matchers.back().get());
      }
    }
    // The union in store order: every keyword of the store that any single search found.
    std::set<std::string> found;
    std::vector<std::vector<std::string>> singles;
    for (const std::string& q : queries) {
      singles.push_back(single(mode, q));
      found.insert(singles.back().begin(), singles.back().end());
    }
    std::vector<std::string> expected;
    for (const std::string& k : single(MatchMode::MatchAll, "")) {
      if (found.count(k)) expected.push_back(k);
    }
    for (int threads : {1, 3}) {
      search.threads = RunThreads{threads, 16, std::chrono::microseconds{0}};  // many small blocks, helpers at once
      Collect sink;
      const BatchOutcome outcome = runBatch(store_, search, sink);
      SCOPED_TRACE("mode " + std::to_string(static_cast<int>(mode)) + ", threads " + std::to_string(threads));
      EXPECT_EQ(sink.keywords, expected);
      EXPECT_EQ(outcome.matches, static_cast<std::int64_t>(expected.size()));
      for (std::size_t q = 0; q < queries.size(); ++q) {
        EXPECT_EQ(outcome.counts[q], static_cast<std::int64_t>(singles[q].size())) << gbkToUtf8(queries[q]);
        // Each keyword names exactly the queries whose single search found it.
        std::int64_t named = 0;
        for (std::size_t k = 0; k < sink.queries.size(); ++k) {
          const auto& ids = sink.queries[k];
          named += std::count(ids.begin(), ids.end(), q);
        }
        EXPECT_EQ(named, outcome.counts[q]);
      }
    }
  }
}

TEST_F(BatchRunTest, ExcludedWordsCountOnlyOnCharacterBoundaries) {
  const ExcludeWords exclude({gbk(u8"泄"), gbk(u8"子"), gbk(u8"adidas")});
  BatchSearch search;
  search.queries = {gbk(u8"男鞋"), gbk(u8"中"), gbk(u8"泄")};
  search.exclude = &exclude;
  Collect sink;
  const BatchOutcome outcome = runBatch(store_, search, sink);
  // 中国人 only holds the bytes of 泄 across two characters, so it stays.
  std::vector<std::string> expected;
  for (const char8_t* k : {u8"阿迪达斯 男鞋", u8"nike 男鞋", u8"男鞋", u8"中国人", u8"360 男鞋"}) expected.push_back(gbk(k));
  EXPECT_EQ(sink.keywords, expected);
  EXPECT_EQ(outcome.counts, (std::vector<std::int64_t>{4, 1, 0}));

  search.mode = MatchMode::MatchAll;  // every keyword, less the excluded
  search.queries = {""};
  Collect all;
  EXPECT_EQ(runBatch(store_, search, all).matches, 11);
}

}  // namespace
}  // namespace kx
