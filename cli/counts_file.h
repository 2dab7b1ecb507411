// Writes one category's section of the counts file 词数.ini for pack.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "search/keyword_store.h"

namespace kx::cli {

// Rewrites runDir/词数.ini with the counts of category (letter index 1..28)
// and the other category's section as it stood. False on an I/O error.
bool writeCountsFile(const std::string& runDir, KeywordCategory category,
                     const std::array<std::int64_t, kAllIndex + 1>& counts);

}  // namespace kx::cli
