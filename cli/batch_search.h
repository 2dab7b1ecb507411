// kestrix-cli search --queries FILE (a list of root words) and searches with
// --exclude FILE: the store is read once for all queries.
#pragma once

#include "cli/search_options.h"

namespace kx::cli {

// Runs the batch o describes (or o's one query with its exclude list) and
// returns the exit code.
int runBatchSearch(const SearchOptions& o);

}  // namespace kx::cli
