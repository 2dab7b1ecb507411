// Scanners of the plain modes (left, middle, right, all) and of the pinyin mode.
#pragma once

#include <memory>
#include <string_view>

#include "search/match/match_mode.h"
#include "search/scan/block_scanner.h"

namespace kx {

// The scanner of mode (MatchLeft, MatchMiddle, MatchRight, MatchPinyin or
// MatchAll) for query, n = charCount(query); nullptr for the regex modes.
// The scanner keeps its own copy of the query.
std::unique_ptr<BlockScanner> makePlainScanner(MatchMode mode, std::string_view query, int n);

}  // namespace kx
