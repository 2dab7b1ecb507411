// The line scanner of the wildcard and regex modes.
#include <cstring>

#include "search/match/regex/regex_matcher.h"

namespace kx {
namespace {

// Bytes a prefiltered scan may pass over before it lets the view process
// events; candidate lines also count through ScanLoop::beforeKeyword.
constexpr std::ptrdiff_t kPumpBytes = 64 * 1024;

class RegexScanner : public LineScanner {
 public:
  explicit RegexScanner(RegexMatcher& matcher) : matcher_(matcher) {}

  bool scan(std::string_view lines, ScanLoop& loop) override {
    const LiteralPrefilter* filter = matcher_.prefilter();
    return filter ? scanCandidates(lines, *filter, loop) : scanEvery(lines, loop);
  }

 private:
  bool scanEvery(std::string_view lines, ScanLoop& loop) {
    bool go = true;
    forEachLine(lines, [&](std::string_view keyword) {
      go = loop.beforeKeyword();
      if (go && matcher_.matches(keyword)) loop.match(keyword);
      return go;
    });
    return go;
  }

  // Only lines holding the required literal can match; the others are
  // passed over without conversion.
  bool scanCandidates(std::string_view lines, const LiteralPrefilter& filter, ScanLoop& loop) {
    const char* p = lines.data();
    const char* const end = p + lines.size();
    const char* pumpedAt = p;
    while (p < end) {
      const char* hit = filter.find(p, end);
      if (hit == end) break;
      const std::size_t before = std::string_view(p, static_cast<std::size_t>(hit - p)).rfind('\n');
      const char* lineStart = (before == std::string_view::npos) ? p : p + before + 1;
      const char* lf = static_cast<const char*>(std::memchr(hit, '\n', static_cast<std::size_t>(end - hit)));
      const char* lineEnd = lf ? lf : end;
      if (lf && lineEnd > lineStart && lineEnd[-1] == '\r') --lineEnd;
      if (lineStart - pumpedAt > kPumpBytes) {
        if (!loop.pump()) return false;
        pumpedAt = lineStart;
      }
      if (!loop.beforeKeyword()) return false;
      const std::string_view keyword(lineStart, static_cast<std::size_t>(lineEnd - lineStart));
      if (matcher_.matches(keyword)) loop.match(keyword);
      p = lf ? lf + 1 : end;
    }
    return end - pumpedAt <= kPumpBytes || loop.pump();
  }

  RegexMatcher& matcher_;
};

}  // namespace

std::unique_ptr<LineScanner> makeRegexScanner(RegexMatcher& matcher) { return std::make_unique<RegexScanner>(matcher); }

}  // namespace kx
