// The block scanner of the wildcard and regex modes.
#pragma once

#include <memory>

#include "search/match/regex/regex_matcher.h"
#include "search/scan/block_scanner.h"

namespace kx {

// Scans with matcher's current pattern: with a prefilter only candidate lines
// are converted and matched, otherwise every line. Each worker matches with
// its own RegexMatcher::Worker, so blocks are scanned on every thread at once
// and the engine's limit hits of all of them count into matcher. matcher must
// outlive the scanner and keep its pattern while the scanner is used.
std::unique_ptr<BlockScanner> makeRegexScanner(RegexMatcher& matcher);

}  // namespace kx
