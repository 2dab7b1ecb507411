// kestrix-cli search: one search run over the store, like the window's, with
// the matches printed, counted or exported.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "search/run/file_sink.h"
#include "search/match/pinyin.h"
#include "search/match/regex/regex_matcher.h"
#include "search/run/search_run.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

constexpr char kHelp[] =
    "usage: kestrix-cli search [OPTIONS] [--] QUERY\n"
    "\n"
    "Searches the keyword store and prints every matching keyword (UTF-8, one per line).\n"
    "\n"
    "  --data DIR            folder holding 商品词/ 店铺词/ (default: the executable's folder)\n"
    "  --category C          product (商品词, default) or store (店铺词)\n"
    "  --letter L            A..Z, 0-9 or all (default all); left and pinyin searches\n"
    "                        follow the query's first letter instead, as in the window\n"
    "  --mode M              left (default), middle, right, pinyin, wildcard, regex, all\n"
    "  --output FILE         write the matches to FILE (GBK, CR LF after every line)\n"
    "  --count               print only the number of matches\n"
    "  --threads N           read and scan with N threads (default: every core; 1: one thread)\n"
    "\n"
    "QUERY is taken in the terminal's encoding (UTF-8); --mode all needs none.\n"
    "Exit status: 0 done (also with 0 matches), 1 I/O error, 2 usage error.\n";

struct Options {
  std::string dataDir;
  KeywordCategory category = KeywordCategory::ProductWords;
  int letter = kAllIndex;
  MatchMode mode = MatchMode::MatchLeft;
  std::string output;
  bool count = false;
  int threads = 0;  // every core
  bool haveQuery = false;
  std::string query;  // GBK
};

std::optional<MatchMode> parseMode(std::string_view m) {
  if (m == "left") return MatchMode::MatchLeft;
  if (m == "middle") return MatchMode::MatchMiddle;
  if (m == "right") return MatchMode::MatchRight;
  if (m == "pinyin") return MatchMode::MatchPinyin;
  if (m == "wildcard") return MatchMode::MatchWildcard;
  if (m == "regex") return MatchMode::MatchRegex;
  if (m == "all") return MatchMode::MatchAll;
  return std::nullopt;
}

std::optional<int> parseThreads(const std::string& v) {
  if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::stoi(v);
  if (n < 1 || n > 1024) return std::nullopt;
  return n;
}

// Reads the options; returns an exit code when the command must end now.
std::optional<int> parseOptions(int argc, char** argv, Options& o) {
  ArgReader args(argc, argv);
  std::string error;
  while (args.more()) {
    std::string a = args.next();
    if (!args.positional() && a == "--help") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
    if (!args.positional() && a == "--count") {
      o.count = true;
    } else if (!args.positional() && (a == "--data" || a == "--category" || a == "--letter" || a == "--mode" ||
                                          a == "--output" || a == "--threads")) {
      auto v = args.value(a, &error);
      if (!v) return fail(kExitUsage, error);
      if (a == "--data") {
        o.dataDir = *v;
      } else if (a == "--output") {
        o.output = *v;
      } else if (a == "--threads") {
        auto t = parseThreads(*v);
        if (!t) return fail(kExitUsage, "--threads takes a whole number from 1 to 1024, not '" + *v + "'");
        o.threads = *t;
      } else if (a == "--category") {
        auto c = parseCategory(*v);
        if (!c) return fail(kExitUsage, "--category takes product or store, not '" + *v + "'");
        o.category = *c;
      } else if (a == "--letter") {
        auto l = parseLetter(*v);
        if (!l) return fail(kExitUsage, "--letter takes A..Z, 0-9 or all, not '" + *v + "'");
        o.letter = *l;
      } else {
        auto m = parseMode(*v);
        if (!m) return fail(kExitUsage, "--mode takes left, middle, right, pinyin, wildcard, regex or all, not '" + *v + "'");
        o.mode = *m;
      }
    } else if (args.isOption(a)) {
      return fail(kExitUsage, "unknown option '" + a + "' (try kestrix-cli search --help)");
    } else {
      if (o.haveQuery) return fail(kExitUsage, "more than one query given; quote a query that holds spaces");
      char32_t bad = 0;
      auto gbk = utf8ToGbk(a, &bad);
      if (!gbk) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "the query holds a character GBK cannot hold (U+%04X)", static_cast<unsigned>(bad));
        return fail(kExitUsage, buf);
      }
      o.query = *gbk;
      o.haveQuery = true;
    }
  }
  if (!o.haveQuery && o.mode != MatchMode::MatchAll) return fail(kExitUsage, "no query given (try kestrix-cli search --help)");
  if (o.dataDir.empty()) o.dataDir = executableDir();
  return std::nullopt;
}

// The run's options come from the command line; progress goes to a terminal.
class CliView : public SearchView {
 public:
  CliView(const Options& o, RunState& state) : o_(o), state_(state), tty_(::isatty(STDERR_FILENO) == 1) {}
  ~CliView() override {
    if (shown_) std::fputs("\r\033[K", stderr);
  }

  MatchMode matchMode() override { return o_.mode; }
  std::string queryText() override { return o_.query; }
  int letterPosition() override { return o_.letter - 1; }
  int categoryPosition() override { return static_cast<int>(o_.category); }
  void clearList() override {}
  void setTimerInterval(int) override {}
  void processPendingMessages() override {
    if (!tty_ || ++calls_ % 4096 != 0) return;
    auto now = std::chrono::steady_clock::now();
    if (now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    refreshProgress();
  }
  void refreshProgress() override {
    if (!tty_) return;
    std::fprintf(stderr, "\r\033[K%s%d", gbkToUtf8(state_.progressText).c_str(), state_.matchCount);
    shown_ = true;
  }

 private:
  const Options& o_;
  RunState& state_;
  const bool tty_;
  bool shown_ = false;
  unsigned calls_ = 0;
  std::chrono::steady_clock::time_point last_{};
};

// Prints each match as UTF-8 with LF.
class StdoutSink : public ResultSink {
 public:
  void add(std::string_view keyword) override {
    line_ = gbkToUtf8(keyword);
    line_ += '\n';
    if (std::fwrite(line_.data(), 1, line_.size(), stdout) != line_.size()) failed_ = true;
  }
  bool failed() const { return failed_; }

 private:
  std::string line_;
  bool failed_ = false;
};

class CountSink : public ResultSink {
 public:
  void add(std::string_view) override {}
  void addLines(std::string_view, long) override {}
};

// Names the letter files the run reads that are missing or did not open.
bool reportMissingFiles(KeywordStore& store, const Options& o, int letter) {
  bool missing = false;
  for (int i = 1; i <= kLetterFileCount; ++i) {
    if ((letter == kAllIndex || letter == i) && !store.letterFile(o.category, i)) {
      fail(kExitIo, o.dataDir + "/" + std::string(categoryFolder(o.category)) + "/" + letterIndexName(i) +
                        ".txt: missing, unreadable or not a keyword file");
      missing = true;
    }
  }
  return missing;
}

}  // namespace

int runSearchCommand(int argc, char** argv) {
  Options o;
  if (auto code = parseOptions(argc, argv, o)) return *code;

  RegexMatcher matcher;
  const bool regexMode = o.mode == MatchMode::MatchWildcard || o.mode == MatchMode::MatchRegex;
  if (regexMode) {
    // The window finds nothing for a bad pattern; a script is better served by an error.
    if (!matcher.engineAvailable()) return fail(kExitIo, "the regular-expression engine could not be set up");
    matcher.setPattern(o.mode == MatchMode::MatchWildcard ? wildcardToPattern(o.query) : o.query, true, true, false);
    if (!matcher.errorText().empty())
      return fail(kExitUsage, (matcher.errorIsUnsupported() ? "pattern not supported at character "
                                                            : "invalid pattern at character ") +
                                  std::to_string(matcher.errorOffset() + 1) + ": " + matcher.errorText());
  }
  KeywordStore store;
  store.openStore(o.dataDir);
  RunState state;
  CliView view(o, state);

  FileSink fileSink;
  StdoutSink stdoutSink;
  CountSink countSink;
  ResultSink* sink = &stdoutSink;
  if (o.count) sink = &countSink;
  if (!o.output.empty()) {
    if (!fileSink.open(o.output)) return fail(kExitIo, "cannot create " + o.output + ": " + fileSink.errorText());
    sink = &fileSink;
  }

  runSearch(view, store, matcher, state, *sink, RunThreads{o.threads});

  int code = kExitOk;
  const int letter = (o.mode == MatchMode::MatchLeft || o.mode == MatchMode::MatchPinyin)
                         ? autoLetter(o.query, o.letter)
                         : o.letter;
  if (reportMissingFiles(store, o, letter)) code = kExitIo;
  if (!o.output.empty() && !fileSink.close()) {
    code = fail(kExitIo, "writing " + o.output + " failed after " + std::to_string(fileSink.written()) +
                             " keywords: " + fileSink.errorText());
  }
  if (regexMode && matcher.limitHitCount() > 0)
    std::fprintf(stderr, "kestrix-cli: %lld keywords took the pattern too long to decide and count as no match\n",
                 static_cast<long long>(matcher.limitHitCount()));
  if (o.count) std::printf("%d\n", state.matchCount);
  if (std::fflush(stdout) != 0 || stdoutSink.failed()) code = fail(kExitIo, "writing to standard output failed");
  return code;
}

}  // namespace kx::cli
