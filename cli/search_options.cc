#include "cli/search_options.h"

#include <cstdio>

#include "cli/cli_common.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

constexpr char kHelp[] =
    "usage: kestrix-cli search [OPTIONS] [--] QUERY\n"
    "       kestrix-cli search [OPTIONS] --queries FILE\n"
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
    "  --exclude FILE        leave out keywords holding any word of FILE (one a line,\n"
    "                        found as a middle search finds them)\n"
    "\n"
    "Mining a list of root words (the store is read once, whatever their number):\n"
    "  --queries FILE        search every line of FILE as a query of --mode; a keyword\n"
    "                        found by several is printed once, in store order (- is stdin)\n"
    "  --count               print each query and its count (TSV, the file's order), then\n"
    "                        a line with an empty first field and the keywords found in all\n"
    "  --split DIR           write one export file per query into DIR, and index.tsv\n"
    "                        (file, query, count) naming the query of every file\n"
    "  --encoding E          FILE and the --exclude list are utf-8 (default) or gbk\n"
    "\n"
    "QUERY is taken in the terminal's encoding (UTF-8); --mode all needs none.\n"
    "Exit status: 0 done (also with 0 matches), 1 I/O error, 2 usage error.\n";

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

// Sets the option a to v; returns an exit code for a bad value.
std::optional<int> setValue(const std::string& a, const std::string& v, SearchOptions& o) {
  if (a == "--data") {
    o.dataDir = v;
  } else if (a == "--output") {
    o.output = v;
  } else if (a == "--queries") {
    o.queriesFile = v;
  } else if (a == "--exclude") {
    o.excludeFile = v;
  } else if (a == "--split") {
    o.splitDir = v;
  } else if (a == "--encoding") {
    if (v != "utf-8" && v != "gbk") return fail(kExitUsage, "--encoding takes utf-8 or gbk, not '" + v + "'");
    o.encoding = v == "gbk" ? ListEncoding::Gbk : ListEncoding::Utf8;
  } else if (a == "--threads") {
    auto t = parseThreads(v);
    if (!t) return fail(kExitUsage, "--threads takes a whole number from 1 to 1024, not '" + v + "'");
    o.threads = *t;
  } else if (a == "--category") {
    auto c = parseCategory(v);
    if (!c) return fail(kExitUsage, "--category takes product or store, not '" + v + "'");
    o.category = *c;
  } else if (a == "--letter") {
    auto l = parseLetter(v);
    if (!l) return fail(kExitUsage, "--letter takes A..Z, 0-9 or all, not '" + v + "'");
    o.letter = *l;
  } else {
    auto m = parseMode(v);
    if (!m) return fail(kExitUsage, "--mode takes left, middle, right, pinyin, wildcard, regex or all, not '" + v + "'");
    o.mode = *m;
  }
  return std::nullopt;
}

// The combinations that make no sense, as a usage error.
std::optional<int> checkCombination(const SearchOptions& o) {
  const bool batch = !o.queriesFile.empty();
  if ((o.count ? 1 : 0) + (o.output.empty() ? 0 : 1) + (o.splitDir.empty() ? 0 : 1) > 1)
    return fail(kExitUsage, "--count, --output and --split do not go together");
  if (batch && o.haveQuery) return fail(kExitUsage, "give either a query or --queries FILE, not both");
  if (batch && o.mode == MatchMode::MatchAll) return fail(kExitUsage, "--queries needs a mode other than all");
  if (!batch && !o.splitDir.empty()) return fail(kExitUsage, "--split needs --queries FILE");
  if (!batch && !o.haveQuery && o.mode != MatchMode::MatchAll)
    return fail(kExitUsage, "no query given (try kestrix-cli search --help)");
  return std::nullopt;
}

}  // namespace

std::optional<int> parseSearchOptions(int argc, char** argv, SearchOptions& o) {
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
    } else if (!args.positional() &&
               (a == "--data" || a == "--category" || a == "--letter" || a == "--mode" || a == "--output" ||
                a == "--threads" || a == "--queries" || a == "--exclude" || a == "--split" || a == "--encoding")) {
      auto v = args.value(a, &error);
      if (!v) return fail(kExitUsage, error);
      if (auto code = setValue(a, *v, o)) return code;
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
  if (auto code = checkCombination(o)) return code;
  if (o.dataDir.empty()) o.dataDir = executableDir();
  return std::nullopt;
}

}  // namespace kx::cli
