#include "search/scan/batch_scanner.h"

#include <algorithm>
#include <cstring>

#include "search/match/gbk_text.h"
#include "search/match/pinyin.h"
#include "search/match/regex/regex_matcher.h"
#include "search/match/regex/regex_prefilter.h"
#include "search/scan/line_scanner.h"
#include "search/scan/multi_literal.h"

namespace kx {
namespace {

std::vector<std::string> textsOf(const std::vector<BatchQuery>& queries) {
  std::vector<std::string> texts;
  for (const BatchQuery& q : queries) texts.push_back(q.text);
  return texts;
}

// What every batch scanner shares: the queries, the exclude words and the
// recording of a matching keyword.
class BatchScannerBase : public BlockScanner {
 protected:
  BatchScannerBase(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude)
      : queries_(queries), exclude_(exclude) {
    for (const BatchQuery& q : queries_) chars_.push_back(charCount(q.text));
  }

  // Records keyword with the queries at the local indexes in passed (sorted,
  // distinct) unless it is excluded.
  void record(std::string_view keyword, const std::vector<std::uint32_t>& passed, BlockMatches& out) const {
    if (passed.empty() || (exclude_ && exclude_->excludes(keyword))) return;
    out.keywords.push_back(keyword);
    for (std::uint32_t local : passed) out.queryIds.push_back(queries_[local].id);
    out.queryEnds.push_back(static_cast<std::uint32_t>(out.queryIds.size()));
  }

  const std::vector<BatchQuery> queries_;  // ids ascending
  std::vector<int> chars_;                 // charCount of each query
  const ExcludeWords* const exclude_;
};

// Middle: the byte hits of the whole block, grouped by line, each query then
// checked on the line's character boundaries.
class MiddleBatchScanner : public BatchScannerBase {
 public:
  MiddleBatchScanner(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude)
      : BatchScannerBase(queries, exclude), search_(textsOf(queries), Anchor::None) {}

  void scan(std::string_view lines, BlockMatches& out) const override {
    thread_local std::vector<MultiLiteral::Hit> hits;
    thread_local std::vector<std::uint32_t> candidates, passed;
    hits.clear();
    search_.findAll(lines, hits);
    const char* const base = lines.data();
    std::size_t lineFrom = 0;  // no line of interest starts before this
    for (std::size_t i = 0; i < hits.size();) {
      const std::size_t pos = hits[i].pos;
      const std::string_view before(base + lineFrom, pos - lineFrom);
      const std::size_t lastLf = before.rfind('\n');
      const std::size_t start = lastLf == std::string_view::npos ? lineFrom : lineFrom + lastLf + 1;
      const void* lf = std::memchr(base + pos, '\n', lines.size() - pos);
      const std::size_t lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : lines.size();
      candidates.clear();
      for (; i < hits.size() && hits[i].pos < lineEnd; ++i) candidates.push_back(hits[i].id);
      std::sort(candidates.begin(), candidates.end());
      candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
      const std::size_t end = lf && lineEnd > start && base[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
      const std::string_view keyword(base + start, end - start);
      passed.clear();
      for (std::uint32_t c : candidates) {
        if (matchMiddle(keyword, queries_[c].text)) passed.push_back(c);
      }
      record(keyword, passed, out);
      lineFrom = lineEnd;
    }
  }

 private:
  const MultiLiteral search_;
};

// Every keyword on its own: test(keyword, passed) appends the local indexes
// of the queries it matches, ascending.
template <typename Test>
class PerKeywordBatchScanner : public BatchScannerBase {
 public:
  PerKeywordBatchScanner(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude, Test test)
      : BatchScannerBase(queries, exclude), test_(std::move(test)) {}

  void scan(std::string_view lines, BlockMatches& out) const override {
    thread_local std::vector<std::uint32_t> passed;
    forEachLine(lines, [&](std::string_view keyword) {
      passed.clear();
      test_(keyword, passed, chars_);
      record(keyword, passed, out);
      return true;
    });
  }

 private:
  const Test test_;
};

template <typename Test>
std::unique_ptr<BlockScanner> perKeyword(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude, Test test) {
  return std::make_unique<PerKeywordBatchScanner<Test>>(queries, exclude, std::move(test));
}

// Left and right: the queries a keyword starts (ends) with, by one lookup of
// its first (last) bytes, then the exact test on character boundaries.
std::unique_ptr<BlockScanner> anchoredBatch(MatchMode mode, const std::vector<BatchQuery>& queries,
                                            const ExcludeWords* exclude) {
  const bool left = mode == MatchMode::MatchLeft;
  auto search = std::make_shared<const MultiLiteral>(textsOf(queries), left ? Anchor::LineStart : Anchor::LineEnd);
  return perKeyword(queries, exclude,
                    [search, left, texts = textsOf(queries)](std::string_view keyword, std::vector<std::uint32_t>& passed,
                                                             const std::vector<int>& chars) {
                      thread_local std::vector<std::uint32_t> candidates;
                      candidates.clear();
                      search->findAnchored(keyword, candidates);
                      std::sort(candidates.begin(), candidates.end());
                      for (std::uint32_t c : candidates) {
                        if (left ? matchLeft(keyword, texts[c], chars[c]) : matchRight(keyword, texts[c], chars[c]))
                          passed.push_back(c);
                      }
                    });
}

// Any literal mode, each query tested on its own: for an empty query, which
// no byte search finds but which left and right find in every keyword and
// middle in every non-empty one.
std::unique_ptr<BlockScanner> literalOneByOne(MatchMode mode, const std::vector<BatchQuery>& queries,
                                              const ExcludeWords* exclude) {
  return perKeyword(queries, exclude,
                    [mode, texts = textsOf(queries)](std::string_view keyword, std::vector<std::uint32_t>& passed,
                                                     const std::vector<int>& chars) {
                      for (std::uint32_t c = 0; c < texts.size(); ++c) {
                        const bool hit = mode == MatchMode::MatchLeft     ? matchLeft(keyword, texts[c], chars[c])
                                         : mode == MatchMode::MatchRight ? matchRight(keyword, texts[c], chars[c])
                                                                         : matchMiddle(keyword, texts[c]);
                        if (hit) passed.push_back(c);
                      }
                    });
}

}  // namespace

std::unique_ptr<BlockScanner> makeBatchScanner(MatchMode mode, const std::vector<BatchQuery>& queries,
                                               const ExcludeWords* exclude, std::vector<RegexMatcher*> matchers) {
  const bool literalMode = mode == MatchMode::MatchLeft || mode == MatchMode::MatchMiddle || mode == MatchMode::MatchRight;
  if (literalMode && std::any_of(queries.begin(), queries.end(), [](const BatchQuery& q) { return q.text.empty(); }))
    return literalOneByOne(mode, queries, exclude);
  switch (mode) {
    case MatchMode::MatchMiddle:
      return std::make_unique<MiddleBatchScanner>(queries, exclude);
    case MatchMode::MatchLeft:
    case MatchMode::MatchRight:
      return anchoredBatch(mode, queries, exclude);
    case MatchMode::MatchPinyin: {
      std::vector<PinyinQuery> pinyin;
      for (const BatchQuery& q : queries) pinyin.emplace_back(q.text);
      return perKeyword(queries, exclude,
                        [pinyin = std::move(pinyin)](std::string_view keyword, std::vector<std::uint32_t>& passed,
                                                     const std::vector<int>&) {
                          for (std::uint32_t c = 0; c < pinyin.size(); ++c) {
                            if (pinyin[c].matches(keyword)) passed.push_back(c);
                          }
                        });
    }
    case MatchMode::MatchWildcard:
    case MatchMode::MatchRegex:
      return perKeyword(queries, exclude,
                        [matchers = std::move(matchers)](std::string_view keyword, std::vector<std::uint32_t>& passed,
                                                         const std::vector<int>&) {
                          const char* const end = keyword.data() + keyword.size();
                          for (std::uint32_t c = 0; c < matchers.size(); ++c) {
                            // A pattern's required literal rules most keywords out without the engine.
                            const LiteralPrefilter* filter = matchers[c]->prefilter();
                            if (filter && filter->find(keyword.data(), end) == end) continue;
                            if (matchers[c]->matches(keyword)) passed.push_back(c);
                          }
                        });
    case MatchMode::MatchAll:
      return perKeyword(queries, exclude,
                        [](std::string_view, std::vector<std::uint32_t>& passed, const std::vector<int>& chars) {
                          for (std::uint32_t c = 0; c < chars.size(); ++c) passed.push_back(c);
                        });
  }
  return nullptr;
}

}  // namespace kx
