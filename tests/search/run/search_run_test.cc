#include "search/run/search_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "search/run/file_sink.h"
#include "search/run/keyword_list.h"
#include "search/match/regex/regex_matcher.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;
using test::TempDir;

// The window as the driver sees it, with a log of what it was told.
class FakeView : public SearchView {
 public:
  MatchMode mode = MatchMode::MatchMiddle;
  std::string query;
  int letter = 27;  // "all"
  int category = 0;
  std::function<void()> onPump;
  std::vector<std::string> events;
  int pumps = 0;

  MatchMode matchMode() override { return mode; }
  std::string queryText() override { return query; }
  int letterPosition() override { return letter; }
  int categoryPosition() override { return category; }
  void clearList() override { events.push_back("clear"); }
  void setTimerInterval(int ms) override { events.push_back("timer " + std::to_string(ms)); }
  void processPendingMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void refreshProgress() override { events.push_back("refresh"); }
};

// Records every match and the progress text it was found under.
class RecordingSink : public ResultSink {
 public:
  explicit RecordingSink(const RunState& state) : state_(state) {}
  void add(std::string_view keyword) override {
    keywords.emplace_back(keyword);
    letters.push_back(state_.progressText);
  }
  std::vector<std::string> keywords;
  std::vector<std::string> letters;

 private:
  const RunState& state_;
};

class SearchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 1; i <= kLetterFileCount; ++i) {
      const std::string name = letterIndexName(i);
      test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, i, test::lines({name + "-p1", "x", name + "-p2"}));
      test::writeLetterFile(dir_.path(), KeywordCategory::StoreWords, i, test::lines({name + "-s1"}));
    }
  }

  void open() { store_.openStore(dir_.path()); }
  void run(ResultSink& sink) { runSearch(view_, store_, &matcher_, state_, sink); }

  TempDir dir_;
  KeywordStore store_;
  RegexMatcher matcher_;
  RunState state_;
  FakeView view_;
};

std::string progressFor(const std::string& letter) { return gbk(u8"正在查询 ") + letter + gbk(u8" 索引下的关键词.."); }

TEST_F(SearchRunTest, AllLettersInOrderAtoZThenDigits) {
  open();
  view_.query = "-p";
  RecordingSink sink(state_);
  run(sink);
  ASSERT_EQ(sink.keywords.size(), 54u);
  EXPECT_EQ(state_.matchCount, 54);
  EXPECT_EQ(sink.keywords[0], "A-p1");
  EXPECT_EQ(sink.keywords[1], "A-p2");
  EXPECT_EQ(sink.keywords[50], "Z-p1");
  EXPECT_EQ(sink.keywords[52], "0-9-p1");
  EXPECT_EQ(sink.letters[0], progressFor("A"));
  EXPECT_EQ(sink.letters[53], progressFor("0-9"));
  EXPECT_EQ(state_.progressText, progressFor("0-9"));
  EXPECT_EQ(view_.events, (std::vector<std::string>{"clear", "timer 1000", "timer 0", "refresh"}));
  EXPECT_GE(view_.pumps, 27);  // at least once before every letter file
}

TEST_F(SearchRunTest, LeftModeFollowsTheQuerysLetter) {
  open();
  view_.mode = MatchMode::MatchLeft;
  view_.query = "Q";
  view_.letter = 12;  // the user chose M
  RecordingSink sink(state_);
  run(sink);
  EXPECT_EQ(sink.keywords, (std::vector<std::string>{"Q-p1", "Q-p2"}));
  view_.query = "#";
  view_.letter = 27;
  run(sink);  // a symbol keeps the selector's "all"
  EXPECT_EQ(state_.matchCount, 0);
}

TEST_F(SearchRunTest, CategoryChangeTakesEffectAtTheNextLetterFile) {
  open();
  view_.mode = MatchMode::MatchAll;
  view_.onPump = [&] {
    if (state_.progressText == progressFor("B")) view_.category = 1;
  };
  RecordingSink sink(state_);
  run(sink);
  EXPECT_EQ(sink.keywords[0], "A-p1");
  EXPECT_EQ(sink.keywords[3], "B-p1");  // B had started before the change was seen
  EXPECT_EQ(sink.keywords[6], "C-s1");
  EXPECT_EQ(state_.matchCount, 3 + 3 + 25);
}

TEST_F(SearchRunTest, StopEndsTheRunBeforeTheNextKeyword) {
  std::vector<std::string> many;
  for (int i = 0; i < 5000; ++i) many.push_back("k" + std::to_string(i));
  test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, 11, test::lines(many));
  open();
  for (MatchMode mode : {MatchMode::MatchAll, MatchMode::MatchLeft, MatchMode::MatchMiddle, MatchMode::MatchPinyin}) {
    view_.mode = mode;
    view_.query = mode == MatchMode::MatchAll ? "" : "k";
    state_.stopRequested = false;
    RecordingSink sink(state_);
    std::size_t matchesAtStop = 0;
    int calls = 0;
    // The middle and all scanners take lines in bulk and let events run once per block.
    const int stopAt = mode == MatchMode::MatchMiddle || mode == MatchMode::MatchAll ? 1 : 10;
    view_.onPump = [&] {
      if (state_.progressText == progressFor("K") && ++calls == stopAt && !state_.stopRequested) {
        state_.stopRequested = true;
        matchesAtStop = sink.keywords.size();
      }
    };
    run(sink);
    EXPECT_TRUE(state_.stopRequested);
    EXPECT_EQ(sink.keywords.size(), matchesAtStop) << static_cast<int>(mode);
    EXPECT_EQ(static_cast<std::size_t>(state_.matchCount), sink.keywords.size());
    EXPECT_LT(sink.keywords.size(), 5000u + 30);
    EXPECT_EQ(view_.events.back(), "refresh");  // a stopped run ends like a finished one
  }
}

TEST_F(SearchRunTest, DuplicatesAndEmptyQueries) {
  test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, 1, test::lines({"dup", "", "dup"}));
  open();
  view_.letter = 0;
  view_.mode = MatchMode::MatchMiddle;
  view_.query = "dup";
  KeywordList list;
  ListSink sink(list);
  run(sink);
  EXPECT_EQ(list.size(), 2u);  // the same keyword twice is listed twice
  EXPECT_EQ(list.at(1), "dup");

  view_.query = "";  // middle: every non-empty keyword
  run(sink);
  EXPECT_EQ(state_.matchCount, 2);
  view_.mode = MatchMode::MatchRight;  // right: every keyword, the empty one too
  view_.letter = 0;
  run(sink);
  EXPECT_EQ(state_.matchCount, 3);
}

TEST_F(SearchRunTest, MissingLetterFileReadsAsEmpty) {
  std::filesystem::remove(test::fsPath(dir_.path() + "/商品词/C.txt"));
  open();
  view_.mode = MatchMode::MatchAll;
  RecordingSink sink(state_);
  run(sink);
  EXPECT_EQ(state_.matchCount, 26 * 3);
}

TEST_F(SearchRunTest, FileSinkWritesTheExportFormat) {
  test::writeLetterFile(dir_.path(), KeywordCategory::ProductWords, 1,
                        test::lines({gbk(u8"阿迪达斯 男式鞋"), "ab\r", "abc"}) + "last");
  open();
  view_.letter = 0;
  view_.mode = MatchMode::MatchAll;
  FileSink sink;
  const std::string out = dir_.file("out.txt");
  test::writeFile(out, "old content that must go away");
  ASSERT_TRUE(sink.open(out));
  run(sink);
  ASSERT_TRUE(sink.close());
  EXPECT_EQ(sink.written(), 4u);
  EXPECT_EQ(test::readFile(out), gbk(u8"阿迪达斯 男式鞋") + "\r\nab\r\r\nabc\r\nlast\r\n");

  view_.mode = MatchMode::MatchLeft;
  view_.query = "zzz";
  ASSERT_TRUE(sink.open(out));
  run(sink);
  ASSERT_TRUE(sink.close());
  EXPECT_EQ(test::readFile(out), "");  // no matches: an empty file
}

TEST(FileSink, LargeBlocksGoStraightToTheFileInOrder) {
  TempDir dir;
  FileSink sink;
  ASSERT_TRUE(sink.open(dir.file("out.txt")));
  std::string block;
  for (int i = 0; i < 20000; ++i) block += "k" + std::to_string(i) + "\r\n";
  sink.add("first");
  sink.addLines(block, 20000);
  sink.add("last");
  ASSERT_TRUE(sink.close());
  EXPECT_EQ(sink.written(), 20002u);
  EXPECT_EQ(test::readFile(dir.file("out.txt")), "first\r\n" + block + "last\r\n");
  if (std::filesystem::exists("/dev/full")) {
    ASSERT_TRUE(sink.open("/dev/full"));
    sink.addLines(block, 20000);
    EXPECT_TRUE(sink.failed());
    EXPECT_EQ(sink.written(), 0u);
  }
}

TEST(FileSink, ReportsWhatItCannotWrite) {
  FileSink sink;
  EXPECT_FALSE(sink.open("/nonexistent-folder/out.txt"));
  EXPECT_FALSE(sink.errorText().empty());
  if (std::filesystem::exists("/dev/full")) {
    ASSERT_TRUE(sink.open("/dev/full"));
    for (int i = 0; i < 100000; ++i) sink.add("keyword");
    EXPECT_FALSE(sink.close());
    EXPECT_TRUE(sink.failed());
    EXPECT_EQ(sink.written(), 0u);
  }
}

TEST(ReadMatchMode, LaterButtonsOverrideEarlierOnes) {
  EXPECT_EQ(readMatchMode(false, false, false, false, false, false), MatchMode::MatchAll);
  EXPECT_EQ(readMatchMode(true, false, false, false, false, false), MatchMode::MatchRegex);
  EXPECT_EQ(readMatchMode(true, true, false, false, false, false), MatchMode::MatchWildcard);
  EXPECT_EQ(readMatchMode(true, false, false, false, false, true), MatchMode::MatchLeft);
  EXPECT_EQ(readMatchMode(false, false, true, true, false, false), MatchMode::MatchRight);
}

}  // namespace
}  // namespace kx
