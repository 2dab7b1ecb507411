#include "search/match/regex/regex_scanner.h"

#include <cstring>
#include <vector>

#include "search/scan/line_scanner.h"

namespace kx {
namespace {

class RegexScanner : public BlockScanner {
 public:
  explicit RegexScanner(RegexMatcher& matcher) : matcher_(matcher) { setWorkers(1); }

  void setWorkers(int workers) override {
    workers_.clear();
    for (int i = 0; i < workers; ++i) workers_.push_back(std::make_unique<RegexMatcher::Worker>(matcher_));
  }

  void scan(std::string_view lines, BlockMatches& out, int worker) override {
    RegexMatcher::Worker& w = *workers_[static_cast<std::size_t>(worker)];
    const LiteralPrefilter* filter = matcher_.prefilter();
    if (filter) {
      scanCandidates(lines, *filter, w, out);
      return;
    }
    forEachLine(lines, [&](std::string_view keyword) {
      if (w.matches(keyword)) out.keywords.push_back(keyword);
      return true;
    });
  }

 private:
  // Only lines holding the required literal can match; the others are
  // passed over without conversion.
  static void scanCandidates(std::string_view lines, const LiteralPrefilter& filter, RegexMatcher::Worker& w,
                             BlockMatches& out) {
    const char* p = lines.data();
    const char* const end = p + lines.size();
    while (p < end) {
      const char* hit = filter.find(p, end);
      if (hit == end) break;
      const std::size_t before = std::string_view(p, static_cast<std::size_t>(hit - p)).rfind('\n');
      const char* lineStart = (before == std::string_view::npos) ? p : p + before + 1;
      const char* lf = static_cast<const char*>(std::memchr(hit, '\n', static_cast<std::size_t>(end - hit)));
      const char* lineEnd = lf ? lf : end;
      if (lf && lineEnd > lineStart && lineEnd[-1] == '\r') --lineEnd;
      const std::string_view keyword(lineStart, static_cast<std::size_t>(lineEnd - lineStart));
      if (w.matches(keyword)) out.keywords.push_back(keyword);
      p = lf ? lf + 1 : end;
    }
  }

  RegexMatcher& matcher_;
  std::vector<std::unique_ptr<RegexMatcher::Worker>> workers_;
};

}  // namespace

std::unique_ptr<BlockScanner> makeRegexScanner(RegexMatcher& matcher) {
  return std::make_unique<RegexScanner>(matcher);
}

}  // namespace kx
