#include "search/scan/exclude_words.h"

#include "search/match/gbk_text.h"
#include "search/scan/line_scanner.h"

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

namespace {

class ExcludingScanner : public BlockScanner {
 public:
  ExcludingScanner(std::unique_ptr<BlockScanner> inner, const ExcludeWords& words)
      : inner_(std::move(inner)), words_(words) {}

  void setWorkers(int workers) override { inner_->setWorkers(workers); }

  void scan(std::string_view lines, BlockMatches& out, int worker) override {
    const std::size_t first = out.keywords.size();
    inner_->scan(lines, out, worker);
    if (out.wholeBlock >= 0) {  // a whole block is checked keyword by keyword
      out.wholeBlock = -1;
      forEachLine(lines, [&](std::string_view keyword) {
        out.keywords.push_back(keyword);
        return true;
      });
    }
    std::size_t kept = first;
    for (std::size_t i = first; i < out.keywords.size(); ++i) {
      if (!words_.excludes(out.keywords[i])) out.keywords[kept++] = out.keywords[i];
    }
    out.keywords.resize(kept);
  }

 private:
  const std::unique_ptr<BlockScanner> inner_;
  const ExcludeWords& words_;
};

}  // namespace

std::unique_ptr<BlockScanner> withoutExcluded(std::unique_ptr<BlockScanner> inner, const ExcludeWords& words) {
  return std::make_unique<ExcludingScanner>(std::move(inner), words);
}

}  // namespace kx
