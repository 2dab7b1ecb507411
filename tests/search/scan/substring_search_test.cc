#include "search/scan/substring_search.h"

#include <gtest/gtest.h>

#include <random>

#include "search/match/gbk_text.h"
#include "search/scan/line_scanner.h"
#include "search/scan/plain_scanners.h"

namespace kx {
namespace {

TEST(SubstringSearcher, AgreesWithStringFindEverywhere) {
  std::mt19937 rng(11);
  for (int round = 0; round < 3000; ++round) {
    std::string hay(rng() % 80, '\0');
    for (char& c : hay) c = "ab\n\xB0"[rng() % 4];
    std::string needle(rng() % 5, '\0');
    for (char& c : needle) c = "ab\n\xB0"[rng() % 4];
    const SubstringSearcher s(needle);
    // Every start and end, so the 16-byte rounds meet every tail length.
    for (std::size_t from = 0; from <= hay.size(); from += 1 + rng() % 7) {
      const std::string_view window(hay.data() + from, hay.size() - from);
      const std::size_t want = window.find(needle);
      const char* got = s.find(window.data(), window.data() + window.size());
      ASSERT_EQ(got ? static_cast<std::size_t>(got - window.data()) : std::string_view::npos, want)
          << "needle size " << needle.size() << " from " << from;
    }
  }
}

// A ScanLoop whose view never stops, collecting matches.
struct Collect : SearchView, ResultSink {
  MatchMode matchMode() override { return MatchMode::MatchMiddle; }
  std::string queryText() override { return {}; }
  int letterPosition() override { return 0; }
  int categoryPosition() override { return 0; }
  void clearList() override {}
  void setTimerInterval(int) override {}
  void processPendingMessages() override {}
  void refreshProgress() override {}
  void add(std::string_view k) override { got.emplace_back(k); }
  std::vector<std::string> got;
};

TEST(PlainScanners, BlockScansEqualTheLineByLineDefinitions) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::string block;
    std::vector<std::string> keywords;
    for (auto k = rng() % 40; k > 0; --k) {
      std::string kw(rng() % 8, '\0');
      for (char& c : kw) c = "ab \r\xB0\xA2\xB5\xCF"[rng() % 8];
      while (!kw.empty() && kw.back() == '\r') kw.pop_back();  // a final CR would merge with the line end
      keywords.push_back(kw);
      block += kw + (rng() % 4 ? "\r\n" : "\n");
    }
    for (const char* q : {"a", "\xA2\xB5", "\xB0\xA2", "b a", ""}) {
      for (MatchMode mode : {MatchMode::MatchLeft, MatchMode::MatchMiddle, MatchMode::MatchRight, MatchMode::MatchAll}) {
        Collect c;
        RunState state;
        ScanLoop loop(c, state, c);
        makePlainScanner(mode, q, charCount(q))->scan(block, loop);
        std::vector<std::string> want;
        const int n = charCount(q);
        for (const auto& kw : keywords) {
          const bool hit = mode == MatchMode::MatchAll      ? true
                           : mode == MatchMode::MatchMiddle ? findText(kw, q) != -1
                           : mode == MatchMode::MatchLeft   ? leftChars(kw, n) == q
                                                            : rightChars(kw, n) == q;
          if (hit) want.push_back(kw);
        }
        EXPECT_EQ(c.got, want) << round << " " << static_cast<int>(mode);
        EXPECT_EQ(state.matchCount, static_cast<int>(want.size()));
      }
    }
  }
}

}  // namespace
}  // namespace kx
