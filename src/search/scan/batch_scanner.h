// Scanners for a batch of queries of one mode: every keyword that matches any
// of them is found in one pass over the block, with the queries it matched.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "search/match/match_mode.h"
#include "search/scan/block_scanner.h"
#include "search/scan/exclude_words.h"

namespace kx {

class RegexMatcher;

struct BatchQuery {
  std::uint32_t id;  // reported in BlockMatches::queryIds
  std::string text;  // GBK
};

// The scanner that finds, for each keyword, the queries whose single search
// in mode would find it (ids ascending), leaving out keywords that exclude
// (when given) holds. Left, middle and right queries are found together by a
// multi-pattern byte search and checked on character boundaries at the hits
// only (an empty query, tested on every keyword, slows them); MatchAll finds
// every keyword for every query; pinyin queries are tested one by one on
// every keyword. Wildcard and regex queries use one matcher per query from
// matchers (same order as queries, patterns set), each thread through
// workers of its own, and meet the engine only on keywords that hold their
// required literal, all literals found in one search. exclude and matchers
// must outlive the scanner. Never hands on whole blocks.
std::unique_ptr<BlockScanner> makeBatchScanner(MatchMode mode, const std::vector<BatchQuery>& queries,
                                               const ExcludeWords* exclude,
                                               std::vector<RegexMatcher*> matchers = {});

}  // namespace kx
