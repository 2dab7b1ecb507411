// The keyword counts: the counts file 词数.ini beside the letter
// files, read into the KeywordStore's count table through a short-lived
// ConfigStore, and written one category at a time by kestrix-cli pack.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "search/store/keyword_store.h"

namespace kx {

// The counts file under runDir: runDir + "/词数.ini" (UTF-8 file name).
std::string countsFilePath(const std::string& runDir);

// The GBK section name of a category: "商品词数" or "店铺词数".
std::string_view countsSection(KeywordCategory category);

// Opens a ConfigStore in DiskFile mode on the counts file (creating it empty
// when missing, as DiskFile opening does), reads keys "A".."Z", "0-9" of both
// sections into indexes 1..27, then "all" into 28, each as a number with
// default 0 with any fraction cut off (clamped to the 32-bit range), and
// discards the store. Reports nothing: a missing file, section or key gives 0.
// "all" is the file's value, never the sum of the letters.
void loadCounts(KeywordStore& store, const std::string& runDir);

// Writes the section of category into the counts file through a ConfigStore
// in DiskFile mode, keys "A".."Z", "0-9", "all" from countsByIndex[1..28]
// (index 0 is not used), leaving the other section and every other line as
// they are. New keys are written from "all" back to "A", so a new section
// reads A..Z, 0-9, all from the top (new keys go under the header).
// Returns false when the file could not be opened for writing or a write
// did not reach it.
bool writeCounts(const std::string& runDir, KeywordCategory category,
                 const std::array<std::int64_t, kAllIndex + 1>& countsByIndex);

}  // namespace kx
