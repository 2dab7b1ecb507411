#include "cli/search_common.h"

#include <unistd.h>

#include "cli/cli_common.h"
#include "search/match/wildcard.h"
#include "text/gbk_codec.h"

namespace kx::cli {

void StdoutSink::add(std::string_view keyword) {
  line_ = gbkToUtf8(keyword);
  line_ += '\n';
  if (std::fwrite(line_.data(), 1, line_.size(), stdout) != line_.size()) failed_ = true;
}

std::string tsvField(std::string_view text) {
  if (text.find_first_of("\t\"") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string setSearchPattern(RegexMatcher& matcher, MatchMode mode, std::string_view query) {
  matcher.setPattern(mode == MatchMode::MatchWildcard ? wildcardToPattern(query) : std::string(query), true, true,
                     false);
  if (matcher.errorText().empty()) return {};
  return (matcher.errorIsUnsupported() ? "pattern not supported at character " : "invalid pattern at character ") +
         std::to_string(matcher.errorOffset() + 1) + ": " + matcher.errorText();
}

int reportMissingFile(const std::string& dataDir, KeywordCategory category, int index) {
  return fail(kExitIo, dataDir + "/" + std::string(categoryFolder(category)) + "/" + letterIndexName(index) +
                           ".txt: missing, unreadable or not a keyword file");
}

ProgressLine::ProgressLine() : tty_(::isatty(STDERR_FILENO) == 1) {}

ProgressLine::~ProgressLine() {
  if (drawn_) std::fputs("\r\033[K", stderr);
}

void ProgressLine::show(const std::string& text, bool force) {
  if (!tty_) return;
  const auto now = std::chrono::steady_clock::now();
  if (!force && now - last_ < std::chrono::milliseconds(250)) return;
  last_ = now;
  std::fprintf(stderr, "\r\033[K%s", text.c_str());
  drawn_ = true;
}

}  // namespace kx::cli
