#include "search/store/keyword_counts.h"

#include <cmath>
#include <limits>

#include "config/config_store.h"

namespace kx {
namespace {

constexpr std::string_view kProductSection = "\xC9\xCC\xC6\xB7\xB4\xCA\xCA\xFD";  // 商品词数
constexpr std::string_view kStoreSection = "\xB5\xEA\xC6\xCC\xB4\xCA\xCA\xFD";    // 店铺词数

// The key of letter index 1..28: "A".."Z", "0-9", "all".
std::string countKey(int index) { return index == kAllIndex ? std::string("all") : letterIndexName(index); }

std::int32_t wholeCount(double v) {
  if (std::isnan(v)) return 0;
  v = std::trunc(v);
  if (v >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (v <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::string countsFilePath(const std::string& runDir) { return runDir + "/词数.ini"; }

std::string_view countsSection(KeywordCategory category) {
  return category == KeywordCategory::StoreWords ? kStoreSection : kProductSection;
}

void loadCounts(KeywordStore& store, const std::string& runDir) {
  ConfigStore counts;
  counts.open(countsFilePath(runDir), StorageMode::DiskFile);
  auto read = [&](KeywordCategory category, int index) {
    counts.setSection(countsSection(category));
    store.setKeywordCount(category, index, wholeCount(counts.readNumber(countKey(index), 0)));
  };
  for (int i = 1; i <= kLetterFileCount; ++i) {
    read(KeywordCategory::ProductWords, i);
    read(KeywordCategory::StoreWords, i);
  }
  read(KeywordCategory::ProductWords, kAllIndex);
  read(KeywordCategory::StoreWords, kAllIndex);
}

bool writeCounts(const std::string& runDir, KeywordCategory category,
                 const std::array<std::int64_t, kAllIndex + 1>& countsByIndex) {
  ConfigStore counts;
  if (!counts.open(countsFilePath(runDir), StorageMode::DiskFile)) return false;
  counts.setSection(countsSection(category));
  bool ok = true;
  for (int i = kAllIndex; i >= 1; --i)
    ok = counts.writeNumber(countKey(i), static_cast<double>(countsByIndex[i])) && ok;
  return ok && counts.changesReachFile();
}

}  // namespace kx
