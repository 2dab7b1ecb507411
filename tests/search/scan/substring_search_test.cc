#include "search/scan/substring_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

#include "search/match/gbk_text.h"
#include "search/scan/byte_scan.h"
#include "search/scan/line_scanner.h"
#include "search/scan/plain_scanners.h"

namespace kx {
namespace {

// Runs body once on every vector path the processor has, so each path is
// held to the same definitions; the path chosen at start-up comes back after.
template <typename Body>
void onEveryPath(Body body) {
  const VectorPath chosen = vectorPath();
  for (VectorPath path : {VectorPath::Portable, VectorPath::Sse2, VectorPath::Avx2, VectorPath::Avx512}) {
    if (!forceVectorPath(path)) {
      std::printf("vector path %d not supported here\n", static_cast<int>(path));
      continue;
    }
    SCOPED_TRACE("vector path " + std::to_string(static_cast<int>(path)));
    body();
  }
  forceVectorPath(chosen);
}

TEST(ByteScans, WidestPathIsChosen) {
  const VectorPath chosen = vectorPath();
  VectorPath widest = VectorPath::Sse2;
  for (VectorPath path : {VectorPath::Avx2, VectorPath::Avx512}) {
    if (forceVectorPath(path)) widest = path;
  }
  forceVectorPath(chosen);
  EXPECT_EQ(chosen, widest);
}

TEST(SubstringSearcher, AgreesWithStringFindEverywhere) {
  onEveryPath([] {
  std::mt19937 rng(11);
  for (int round = 0; round < 3000; ++round) {
    std::string hay(rng() % 200, '\0');  // several rounds of the widest path
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
  });
}

// The first occurrence of needle in hay standing where anchor asks, by definition.
std::size_t anchoredFind(std::string_view hay, std::string_view needle, Anchor anchor) {
  for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i) {
    if (hay.substr(i, needle.size()) != needle) continue;
    const std::string_view after = hay.substr(i + needle.size());
    if (anchor == Anchor::LineStart && i > 0 && hay[i - 1] != '\n') continue;
    if (anchor == Anchor::LineEnd && !after.empty() && after[0] != '\n' && after.substr(0, 2) != "\r\n") continue;
    return i;
  }
  return std::string_view::npos;
}

TEST(ByteScans, AnchoredSearchesAgreeWithTheDefinition) {
  onEveryPath([] {
    std::mt19937 rng(13);
    for (int round = 0; round < 4000; ++round) {
      std::string hay(rng() % 200, '\0');
      for (char& c : hay) c = "ab\r\n\xB0"[rng() % 5];
      std::string needle(1 + rng() % 4, '\0');
      for (char& c : needle) c = "ab\xB0"[rng() % 3];
      for (Anchor anchor : {Anchor::None, Anchor::LineStart, Anchor::LineEnd}) {
        for (std::size_t from = 0; from <= hay.size(); from += 1 + rng() % 9) {
          // An exact-size copy, so that a sanitizer sees any load past its end.
          const std::size_t n = hay.size() - from;
          std::unique_ptr<char[]> exact(new char[n]);
          std::memcpy(exact.get(), hay.data() + from, n);
          const std::string_view window(exact.get(), n);
          const char* got = findSubstring(window.data(), window.data() + window.size(), needle, anchor);
          ASSERT_EQ(got ? static_cast<std::size_t>(got - window.data()) : std::string_view::npos,
                    anchoredFind(window, needle, anchor))
              << "anchor " << static_cast<int>(anchor) << " round " << round << " from " << from;
        }
      }
    }
  });
}

TEST(ByteScans, LineEndsAndExportFormatAgreeWithByteLoops) {
  onEveryPath([] {
    std::mt19937 rng(12);
    for (int round = 0; round < 3000; ++round) {
      // Long enough for several 32-byte rounds; CR LF pairs across round edges.
      std::string block(rng() % 200, '\0');
      for (char& c : block) c = "\r\n\r\nab\xB0"[rng() % (round % 2 ? 7 : 4)];
      if (round % 3 == 0) block += "\r\n";
      std::vector<std::uint32_t> want, got(block.size());
      bool exportFormat = block.size() >= 2 && block.substr(block.size() - 2) == "\r\n";
      for (std::size_t i = 0; i < block.size(); ++i) {
        if (block[i] != '\n') continue;
        want.push_back(static_cast<std::uint32_t>(i));
        exportFormat = exportFormat && i > 0 && block[i - 1] == '\r';
      }
      got.resize(findLineEnds(block.data(), block.size(), got.data()));
      ASSERT_EQ(got, want) << round;
      ASSERT_EQ(countExportLines(block), exportFormat ? static_cast<long>(want.size()) : -1) << round;
    }
  });
}

// What a block scanner found, as the keywords it would hand on.
std::vector<std::string> keywordsOf(std::string_view block, const BlockMatches& m) {
  std::vector<std::string> out(m.keywords.begin(), m.keywords.end());
  if (m.wholeBlock >= 0) {
    forEachLine(block, [&](std::string_view k) {
      out.emplace_back(k);
      return true;
    });
    EXPECT_EQ(static_cast<long>(out.size()), m.wholeBlock);
  }
  return out;
}

TEST(PlainScanners, BlockScansEqualTheLineByLineDefinitions) {
  onEveryPath([] {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::string block;
    std::vector<std::string> keywords;
    for (auto k = rng() % 40; k > 0; --k) {
      std::string kw(rng() % 8, '\0');
      for (char& c : kw) c = "ab \r\xB0\xA2\xB5\xCF"[rng() % 8];
      while (!kw.empty() && kw.back() == '\r') kw.pop_back();  // a final CR would merge with the line end
      keywords.push_back(kw);
      block += kw + (rng() % 4 || round % 2 ? "\r\n" : "\n");
    }
    for (const char* q : {"a", "\xA2\xB5", "\xB0\xA2", "b a", ""}) {
      for (MatchMode mode : {MatchMode::MatchLeft, MatchMode::MatchMiddle, MatchMode::MatchRight, MatchMode::MatchAll}) {
        BlockMatches matches;
        makePlainScanner(mode, q, charCount(q))->scan(block, matches, 0);
        std::vector<std::string> want;
        const int n = charCount(q);
        for (const auto& kw : keywords) {
          const bool hit = mode == MatchMode::MatchAll      ? true
                           : mode == MatchMode::MatchMiddle ? findText(kw, q) != -1
                           : mode == MatchMode::MatchLeft   ? leftChars(kw, n) == q
                                                            : rightChars(kw, n) == q;
          if (hit) want.push_back(kw);
        }
        EXPECT_EQ(keywordsOf(block, matches), want) << round << " " << static_cast<int>(mode);
      }
    }
  }
  });
}

}  // namespace
}  // namespace kx
