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

// A query that may match a keyword: a needle of it stands at byte `at` of the
// keyword (kNoPlace for a query tested on every keyword).
struct Candidate {
  std::uint32_t query;
  std::uint32_t at;
  bool operator<(const Candidate& o) const { return query != o.query ? query < o.query : at < o.at; }
};
constexpr std::uint32_t kNoPlace = UINT32_MAX;

// The keywords of a block that a multi-pattern search hits, each tested with
// the queries whose needles hit it (needleQuery maps a needle to its query)
// and with the queries of everyLine, which have no needle and are tested on
// every keyword. test(keyword, candidates, passed) gets the candidates sorted
// by query and place and appends each query that really matches, once.
template <typename Test>
class HitLineScanner : public BatchScannerBase {
 public:
  HitLineScanner(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude,
                 const std::vector<std::string>& needles, std::vector<std::uint32_t> needleQuery,
                 std::vector<std::uint32_t> everyLine, Test test)
      : BatchScannerBase(queries, exclude),
        search_(needles, Anchor::None),
        needleQuery_(std::move(needleQuery)),
        everyLine_(std::move(everyLine)),
        test_(std::move(test)) {}

  void setWorkers(int workers) override {
    if constexpr (requires { test_.setWorkers(workers); }) test_.setWorkers(workers);
  }

  void scan(std::string_view lines, BlockMatches& out, int worker) override {
    hits().clear();
    search_.findAll(lines, hits());
    if (everyLine_.empty()) {
      scanHitLines(lines, out, worker);
    } else {
      scanEveryLine(lines, out, worker);
    }
  }

 private:
  // Only the lines with hits; the others cost nothing beyond the search.
  void scanHitLines(std::string_view lines, BlockMatches& out, int worker) {
    const char* const base = lines.data();
    std::size_t lineFrom = 0;  // no line of interest starts before this
    for (std::size_t i = 0; i < hits().size();) {
      const std::size_t pos = hits()[i].pos;
      const std::size_t lastLf = std::string_view(base + lineFrom, pos - lineFrom).rfind('\n');
      const std::size_t start = lastLf == std::string_view::npos ? lineFrom : lineFrom + lastLf + 1;
      const void* lf = std::memchr(base + pos, '\n', lines.size() - pos);
      const std::size_t lineEnd = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : lines.size();
      i = gather(i, start, lineEnd);
      const std::size_t end = lf && lineEnd > start && base[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
      testLine(std::string_view(base + start, end - start), out, worker);
      lineFrom = lineEnd;
    }
  }

  void scanEveryLine(std::string_view lines, BlockMatches& out, int worker) {
    std::size_t i = 0;
    forEachLine(lines, [&](std::string_view keyword) {
      // The line runs on to its LF (past a CR, if any).
      const auto start = static_cast<std::size_t>(keyword.data() - lines.data());
      i = gather(i, start, start + keyword.size() + 2);
      for (std::uint32_t q : everyLine_) candidates().push_back({q, kNoPlace});
      testLine(keyword, out, worker);
      return true;
    });
  }

  // Puts the hits i.. before position end, on the line from start, into
  // candidates(); returns the index of the first hit at or after end.
  std::size_t gather(std::size_t i, std::size_t start, std::size_t end) const {
    candidates().clear();
    for (; i < hits().size() && hits()[i].pos < end; ++i)
      candidates().push_back({needleQuery_[hits()[i].id], static_cast<std::uint32_t>(hits()[i].pos - start)});
    return i;
  }

  void testLine(std::string_view keyword, BlockMatches& out, int worker) {
    thread_local std::vector<std::uint32_t> passed;
    std::vector<Candidate>& c = candidates();
    std::sort(c.begin(), c.end());
    passed.clear();
    test_(keyword, c, passed, worker);
    record(keyword, passed, out);
  }

  static std::vector<MultiLiteral::Hit>& hits() {
    thread_local std::vector<MultiLiteral::Hit> h;
    return h;
  }
  static std::vector<Candidate>& candidates() {
    thread_local std::vector<Candidate> c;
    return c;
  }

  const MultiLiteral search_;
  const std::vector<std::uint32_t> needleQuery_;
  const std::vector<std::uint32_t> everyLine_;
  Test test_;
};

template <typename Test>
std::unique_ptr<BlockScanner> hitLines(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude,
                                       const std::vector<std::string>& needles, std::vector<std::uint32_t> needleQuery,
                                       std::vector<std::uint32_t> everyLine, Test test) {
  return std::make_unique<HitLineScanner<Test>>(queries, exclude, needles, std::move(needleQuery),
                                                std::move(everyLine), std::move(test));
}

// Middle: the queries themselves are the needles; a hit counts where it
// starts on a character of the keyword.
std::unique_ptr<BlockScanner> middleBatch(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude) {
  std::vector<std::uint32_t> self(queries.size());
  for (std::uint32_t c = 0; c < self.size(); ++c) self[c] = c;
  return hitLines(queries, exclude, textsOf(queries), std::move(self), {},
                  [texts = textsOf(queries)](std::string_view keyword, const std::vector<Candidate>& candidates,
                                             std::vector<std::uint32_t>& passed, int) {
                    thread_local std::vector<std::uint32_t> starts;
                    thread_local std::uint32_t stamp = 0;
                    if (++stamp == 0) {  // wrapped: no entry may look marked
                      std::fill(starts.begin(), starts.end(), 0);
                      stamp = 1;
                    }
                    markFindStarts(keyword, stamp, starts);
                    for (const Candidate& c : candidates) {
                      // A hit may run on into the line end (a query ending in CR).
                      if ((passed.empty() || passed.back() != c.query) &&
                          c.at + texts[c.query].size() <= keyword.size() && starts[c.at] == stamp)
                        passed.push_back(c.query);
                    }
                  });
}

// The byte strings a prefilter's needle may stand as in a keyword: itself, or
// with folding every mix of cases of its ASCII letters (none when there are
// more than four letters: the query then goes to every keyword).
std::vector<std::string> needleForms(const LiteralPrefilter& filter) {
  std::vector<std::string> forms = {filter.needle()};
  if (!filter.foldsAscii()) return forms;
  const auto letter = [](char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); };
  if (std::count_if(filter.needle().begin(), filter.needle().end(), letter) > 4) return {};
  for (std::size_t at = 0; at < filter.needle().size(); ++at) {
    if (!letter(filter.needle()[at])) continue;
    const std::size_t n = forms.size();
    for (std::size_t k = 0; k < n; ++k) {
      std::string other = forms[k];
      other[at] = static_cast<char>(other[at] ^ 0x20);  // the other case of an ASCII letter
      forms.push_back(std::move(other));
    }
  }
  return forms;
}

// Runs the candidate queries' engines, each thread with workers of its own.
struct RegexTest {
  std::vector<RegexMatcher*> matchers;
  std::vector<std::vector<std::unique_ptr<RegexMatcher::Worker>>> workers;  // [thread][query]

  // Keeps the workers already made: one scanner serves every file of a run.
  void setWorkers(int n) {
    while (workers.size() < static_cast<std::size_t>(n)) {
      workers.emplace_back();
      for (RegexMatcher* m : matchers) workers.back().push_back(std::make_unique<RegexMatcher::Worker>(*m));
    }
  }

  void operator()(std::string_view keyword, const std::vector<Candidate>& candidates,
                  std::vector<std::uint32_t>& passed, int worker) {
    auto& mine = workers[static_cast<std::size_t>(worker)];
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const std::uint32_t q = candidates[i].query;
      if ((i == 0 || candidates[i - 1].query != q) && mine[q]->matches(keyword)) passed.push_back(q);
    }
  }
};

// Wildcard and regex: a keyword goes to a query's engine only when it holds
// the query's required literal, all literals found in one search of the block.
std::unique_ptr<BlockScanner> regexBatch(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude,
                                         std::vector<RegexMatcher*> matchers) {
  std::vector<std::string> needles;
  std::vector<std::uint32_t> needleQuery, everyLine;
  for (std::uint32_t c = 0; c < matchers.size(); ++c) {
    const LiteralPrefilter* filter = matchers[c]->prefilter();
    std::vector<std::string> forms = filter ? needleForms(*filter) : std::vector<std::string>{};
    if (forms.empty()) everyLine.push_back(c);
    for (std::string& form : forms) {
      needles.push_back(std::move(form));
      needleQuery.push_back(c);
    }
  }
  return hitLines(queries, exclude, needles, std::move(needleQuery), std::move(everyLine),
                  RegexTest{std::move(matchers), {}});
}

// Every keyword on its own: test(keyword, passed) appends the local indexes
// of the queries it matches, ascending.
template <typename Test>
class PerKeywordBatchScanner : public BatchScannerBase {
 public:
  PerKeywordBatchScanner(const std::vector<BatchQuery>& queries, const ExcludeWords* exclude, Test test)
      : BatchScannerBase(queries, exclude), test_(std::move(test)) {}

  void scan(std::string_view lines, BlockMatches& out, int) override {
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
      return middleBatch(queries, exclude);
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
      return regexBatch(queries, exclude, std::move(matchers));
    case MatchMode::MatchAll:
      return perKeyword(queries, exclude,
                        [](std::string_view, std::vector<std::uint32_t>& passed, const std::vector<int>& chars) {
                          for (std::uint32_t c = 0; c < chars.size(); ++c) passed.push_back(c);
                        });
  }
  return nullptr;
}

}  // namespace kx
