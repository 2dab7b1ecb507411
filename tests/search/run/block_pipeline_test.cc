// The parallel read path against the single-threaded one: same matches in
// the same order, whatever the threads and the block size; stops and read
// errors end a run cleanly.
#include "search/run/block_pipeline.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "search/match/regex/regex_matcher.h"
#include "search/run/search_run.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;
using test::TempDir;

class View : public SearchView {
 public:
  MatchMode mode = MatchMode::MatchAll;
  std::string query;
  int pumps = 0;
  int stopAtPump = 0;  // 0: never
  RunState* state = nullptr;
  std::size_t* seenAtStop = nullptr;
  const std::vector<std::string>* seen = nullptr;

  MatchMode matchMode() override { return mode; }
  std::string queryText() override { return query; }
  int letterPosition() override { return 27; }
  int categoryPosition() override { return 0; }
  void clearList() override {}
  void setTimerInterval(int) override {}
  void processPendingMessages() override {
    if (++pumps == stopAtPump) {
      state->stopRequested = true;
      *seenAtStop = seen->size();
    }
  }
  void refreshProgress() override {}
};

struct Sink : ResultSink {
  void add(std::string_view k) override { got.emplace_back(k); }
  std::vector<std::string> got;
};

class BlockPipelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Short and long lines (some longer than the small blocks), CR LF and LF
    // endings, lines of a's that send (a+)+$ into runaway backtracking, and
    // letter files of different sizes, one of them empty.
    std::mt19937 rng(21);
    const char* words[] = {"\xC4\xD0", "\xCA\xBD", "\xD0\xAC", "ab", "Nike ", "\xB0\xA2\xB5\xCF", "7"};
    for (int letter : {1, 2, 5, 27}) {
      std::string bytes;
      const int lines = letter == 5 ? 0 : letter == 2 ? 30 : 3000;
      for (int i = 0; i < lines; ++i) {
        const std::size_t parts = rng() % 50 == 0 ? 400 : rng() % 6;
        for (std::size_t p = 0; p < parts; ++p) bytes += words[rng() % 7];
        if (rng() % 200 == 0) bytes += std::string(40, 'a') + (rng() % 2 ? "!" : "");
        bytes += rng() % 5 ? "\r\n" : "\n";
      }
      test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, letter, bytes);
    }
    store_.openStore(dir_.path());
  }

  // The helpers start at once, so that even these small files are shared.
  std::vector<std::string> run(MatchMode mode, const std::string& query, RunThreads threads) {
    threads.minSharedWork = {};
    View view;
    view.mode = mode;
    view.query = query;
    RunState state;
    Sink sink;
    runSearch(view, store_, &matcher_, state, sink, threads);
    EXPECT_EQ(static_cast<std::size_t>(state.matchCount), sink.got.size());
    return sink.got;
  }

  TempDir dir_;
  KeywordStore store_;
  RegexMatcher matcher_;
};

TEST_F(BlockPipelineTest, EveryThreadCountAndBlockSizeHandsOnTheSameMatchesInOrder) {
  const std::pair<MatchMode, std::string> searches[] = {
      {MatchMode::MatchAll, ""},          {MatchMode::MatchMiddle, gbk(u8"男式")},
      {MatchMode::MatchLeft, "ab"},       {MatchMode::MatchRight, gbk(u8"鞋")},
      {MatchMode::MatchPinyin, "a"},      {MatchMode::MatchRegex, "^ab.*7$"},
      {MatchMode::MatchMiddle, "7"},
  };
  for (const auto& [mode, query] : searches) {
    const std::vector<std::string> want = run(mode, query, {1, kDefaultBlockSize});
    ASSERT_FALSE(want.empty()) << static_cast<int>(mode);
    for (int threads : {1, 2, 5})
      for (std::size_t blockSize : {std::size_t{61}, std::size_t{1000}, std::size_t{65536}})
        EXPECT_EQ(run(mode, query, {threads, blockSize}), want)
            << static_cast<int>(mode) << " threads " << threads << " block " << blockSize;
  }
}

TEST_F(BlockPipelineTest, RegexWorkersFindWhatOneThreadFindsAndCountEveryLimitHit) {
  const std::pair<MatchMode, std::string> searches[] = {
      {MatchMode::MatchRegex, "(a+)+$"},    // runaway on the lines of a's that end in !
      {MatchMode::MatchRegex, "ike.*7"},    // prefiltered
      {MatchMode::MatchRegex, "^[a-z]+7"},  // first-character shortcut
      {MatchMode::MatchWildcard, gbk(u8"男*式")},
  };
  for (const auto& [mode, query] : searches) {
    const std::vector<std::string> want = run(mode, query, {1, kDefaultBlockSize});
    const std::int64_t limitHits = matcher_.limitHitCount();
    ASSERT_FALSE(want.empty()) << query;
    EXPECT_EQ(limitHits > 0, query == "(a+)+$") << query;
    for (int threads : {2, 4})
      for (std::size_t blockSize : {std::size_t{61}, std::size_t{4096}}) {
        const std::string where = query + " threads " + std::to_string(threads) + " block " + std::to_string(blockSize);
        EXPECT_EQ(run(mode, query, {threads, blockSize}), want) << where;
        EXPECT_EQ(matcher_.limitHitCount(), limitHits) << where;
      }
  }
}

TEST_F(BlockPipelineTest, NoKeywordReachesTheSinkAfterTheStopIsSeen) {
  const std::pair<MatchMode, std::string> searches[] = {
      {MatchMode::MatchMiddle, "7"}, {MatchMode::MatchRegex, "ike.*7"}, {MatchMode::MatchRegex, "^[a-z]"}};
  for (const auto& [mode, query] : searches) {
    const std::vector<std::string> all = run(mode, query, {1, kDefaultBlockSize});
    for (int stopAt : {3, 40, 200}) {
      View view;
      view.mode = mode;
      view.query = query;
      RunState state;
      Sink sink;
      std::size_t seenAtStop = 0;
      view.stopAtPump = stopAt;
      view.state = &state;
      view.seenAtStop = &seenAtStop;
      view.seen = &sink.got;
      runSearch(view, store_, &matcher_, state, sink, {4, 100, {}});
      ASSERT_TRUE(state.stopRequested);
      EXPECT_EQ(sink.got.size(), seenAtStop) << stopAt;
      EXPECT_LT(sink.got.size(), all.size());
      EXPECT_TRUE(std::equal(sink.got.begin(), sink.got.end(), all.begin())) << query << " " << stopAt;
    }
  }
}

// Notes which workers scan, slowly enough that a woken helper surely takes blocks.
class WorkerLog : public BlockScanner {
 public:
  void scan(std::string_view, BlockMatches&, int worker) override {
    std::this_thread::sleep_for(std::chrono::microseconds(100));
    std::lock_guard<std::mutex> lock(mutex_);
    workers.insert(worker);
  }
  std::set<int> workers;

 private:
  std::mutex mutex_;
};

struct Drain : BlockPipeline::Consumer {
  bool handOn(std::string_view, const BlockMatches&) override { return true; }
  bool waiting() override { return true; }
};

TEST_F(BlockPipelineTest, HelpersJoinOnlyWorkThatPaysAndOnlyFilesOfManyBlocks) {
  const LetterFile& big = *store_.letterFile(KeywordCategory::ProductWords, 1);
  const LetterFile& small = *store_.letterFile(KeywordCategory::ProductWords, 2);
  const std::size_t block = small.length() / 5 + 1;  // several blocks, still too few to share
  ASSERT_GE(blockCount(small.length(), block), 4u);
  ASSERT_LT(blockCount(small.length(), block), BlockPipeline::kMinBlocksForHelpers);
  const std::uint64_t runBytes = 2 * small.length() + big.length();
  Drain drain;
  const std::set<int> callerAlone = {0};
  {
    WorkerLog log;
    BlockPipeline pipeline(3, &log, block, runBytes, std::chrono::hours(1));  // never worth it
    EXPECT_TRUE(pipeline.run(big, drain));
    EXPECT_EQ(log.workers, callerAlone);
  }
  {
    WorkerLog log;
    BlockPipeline pipeline(3, &log, block, runBytes, std::chrono::microseconds(1));  // worth it after two blocks
    EXPECT_TRUE(pipeline.run(big, drain));
    EXPECT_GT(log.workers.size(), 1u);
  }
  WorkerLog log;
  BlockPipeline pipeline(3, &log, block, runBytes, std::chrono::microseconds(0));  // at once
  EXPECT_TRUE(pipeline.run(small, drain));
  EXPECT_EQ(log.workers, callerAlone);
  EXPECT_TRUE(pipeline.run(big, drain));
  EXPECT_GT(log.workers.size(), 1u);
  log.workers.clear();
  EXPECT_TRUE(pipeline.run(small, drain));  // the helpers are running by now, and stay out
  EXPECT_EQ(log.workers, callerAlone);
}

TEST_F(BlockPipelineTest, AFileCutShortAfterOpeningEndsEarlyWithoutHarm) {
  const std::vector<std::string> all = run(MatchMode::MatchAll, "", {1, kDefaultBlockSize});
  const std::string path = dir_.path() + "/商品词/A.txt";
  std::filesystem::resize_file(test::fsPath(path), std::filesystem::file_size(test::fsPath(path)) / 2);
  for (int threads : {1, 3}) {
    const std::vector<std::string> got = run(MatchMode::MatchAll, "", {threads, 500});
    ASSERT_LT(got.size(), all.size());
    // Every keyword of A before the cut, then nothing more of A, then the other files whole.
    EXPECT_EQ(got.back(), all.back());
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + 1000, all.begin())) << threads;
  }
}

}  // namespace
}  // namespace kx
