#include "search/scan/plain_scanners.h"

#include <cstring>
#include <string>

#include "search/match/gbk_text.h"
#include "search/match/pinyin.h"
#include "search/scan/byte_scan.h"
#include "search/scan/line_scanner.h"

namespace kx {
namespace {

// Tests every keyword of the block with pred, one at a time.
template <typename Pred>
class PerLineScanner : public BlockScanner {
 public:
  explicit PerLineScanner(Pred pred) : pred_(std::move(pred)) {}

  void scan(std::string_view lines, BlockMatches& out, int) override {
    // Every keyword is written and only a match moves on: whether a keyword
    // matches is as good as random to the processor, and a branch on it
    // would be mispredicted for a good share of the lines.
    constexpr std::size_t kBatch = 256;
    std::string_view found[kBatch];
    std::size_t n = 0;
    forEachLine(lines, [&](std::string_view keyword) {
      found[n] = keyword;
      n += pred_(keyword) ? 1 : 0;
      if (n == kBatch) {
        out.keywords.insert(out.keywords.end(), found, found + n);
        n = 0;
      }
      return true;
    });
    out.keywords.insert(out.keywords.end(), found, found + n);
  }

 private:
  const Pred pred_;
};

template <typename Pred>
std::unique_ptr<BlockScanner> perLine(Pred pred) {
  return std::make_unique<PerLineScanner<Pred>>(std::move(pred));
}

// The literal modes over a whole block: every keyword that can match holds
// the query (at its start for left, at its end for right), so a byte search
// for it finds the few candidate lines, and only those get the mode's exact
// test on character boundaries.
template <typename Pred>
class LiteralScanner : public BlockScanner {
 public:
  LiteralScanner(std::string_view query, Anchor anchor, Pred pred) : query_(query), anchor_(anchor), pred_(std::move(pred)) {}

  void scan(std::string_view lines, BlockMatches& out, int) override {
    const char* p = lines.data();
    const char* const end = p + lines.size();
    while (p < end) {
      const char* at = findSubstring(p, end, query_, anchor_);
      if (!at) break;
      const char* lineStart = at;
      if (anchor_ != Anchor::LineStart) {
        while (lineStart > p && lineStart[-1] != '\n') --lineStart;
      }
      // At a line end the LF, if any, is right after the query or its CR.
      const char* from = anchor_ == Anchor::LineEnd ? at + query_.size() : at;
      const char* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(end - from)));
      const char* lineEnd = lf ? lf : end;
      const char* kwEnd = (lf && lineEnd > lineStart && lineEnd[-1] == '\r') ? lineEnd - 1 : lineEnd;
      std::string_view keyword(lineStart, static_cast<std::size_t>(kwEnd - lineStart));
      if (pred_(keyword, query_)) out.keywords.push_back(keyword);
      p = lf ? lf + 1 : end;
    }
  }

 private:
  const std::string query_;
  const Anchor anchor_;
  const Pred pred_;
};

template <typename Pred>
std::unique_ptr<BlockScanner> literal(std::string_view query, Anchor anchor, Pred pred) {
  return std::make_unique<LiteralScanner<Pred>>(query, anchor, std::move(pred));
}

// 全部输出: a block already in the export format goes on whole.
class AllScanner : public BlockScanner {
 public:
  void scan(std::string_view lines, BlockMatches& out, int) override {
    out.wholeBlock = countExportLines(lines);
    if (out.wholeBlock >= 0) return;
    forEachLine(lines, [&](std::string_view keyword) {
      out.keywords.push_back(keyword);
      return true;
    });
  }
};

}  // namespace

std::unique_ptr<BlockScanner> makePlainScanner(MatchMode mode, std::string_view query, int n) {
  switch (mode) {
    // An empty query is in every keyword: left and right then take all of
    // them, middle every non-empty one.
    case MatchMode::MatchLeft:
      if (query.empty()) return perLine([](std::string_view) { return true; });
      return literal(query, Anchor::LineStart,
                     [n](std::string_view kw, std::string_view q) { return matchLeft(kw, q, n); });
    case MatchMode::MatchMiddle:
      if (query.empty()) return perLine([](std::string_view kw) { return !kw.empty(); });
      return literal(query, Anchor::None, [](std::string_view kw, std::string_view q) { return matchMiddle(kw, q); });
    case MatchMode::MatchRight:
      if (query.empty()) return perLine([](std::string_view) { return true; });
      return literal(query, Anchor::LineEnd,
                     [n](std::string_view kw, std::string_view q) { return matchRight(kw, q, n); });
    case MatchMode::MatchPinyin:
      return perLine([pq = PinyinQuery(query)](std::string_view kw) { return pq.matches(kw); });
    case MatchMode::MatchAll:
      return std::make_unique<AllScanner>();
    case MatchMode::MatchWildcard:
    case MatchMode::MatchRegex:
      break;
  }
  return nullptr;
}

}  // namespace kx
