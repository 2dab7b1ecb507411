#include "search/scan/exclude_words.h"

#include "search/match/gbk_text.h"

namespace kx {

ExcludeWords::ExcludeWords(std::vector<std::string> words) : words_(std::move(words)), search_(words_, Anchor::None) {}

bool ExcludeWords::excludes(std::string_view keyword) const {
  thread_local std::vector<MultiLiteral::Hit> hits;
  hits.clear();
  search_.findAll(keyword, hits);
  // Hits are byte matches; the word must also start on a character boundary.
  for (const MultiLiteral::Hit& hit : hits) {
    if (matchMiddle(keyword, words_[hit.id])) return true;
  }
  return false;
}

}  // namespace kx
