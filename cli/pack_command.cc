// kestrix-cli pack: builds a keyword store from plain keyword lists.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/file_util.h"
#include "search/store/keyword_counts.h"
#include "search/store/store_packer.h"
#include "text/gbk_codec.h"

namespace kx::cli {
namespace {

constexpr char kHelp[] =
    "usage: kestrix-cli pack --output DIR --category product|store [--encoding utf-8|gbk] FILE...\n"
    "\n"
    "Builds the 27 enciphered letter files of one category under DIR/商品词/ or DIR/店铺词/\n"
    "from keyword lists (one keyword per line; FILE - reads standard input), and writes\n"
    "that category's counts into DIR/词数.ini, keeping the other category's counts.\n"
    "\n"
    "A keyword goes to the letter of its first character: the pinyin initial of a Chinese\n"
    "character, a Latin letter in upper case, a digit to 0-9. A keyword whose first\n"
    "character has no letter (a symbol, a radical, a full-width form) goes to the letter\n"
    "of its first character that has one, or to 0-9 when none has; pack reports how many.\n"
    "Empty lines are skipped, and so are lines that GBK cannot hold; pack reports both.\n"
    "\n"
    "  --encoding E   encoding of the lists: utf-8 (default) or gbk\n";

struct Tally {
  std::int64_t emptyLines = 0;
  std::int64_t unencodable = 0;
  std::vector<std::string> unencodableExamples;  // UTF-8
};

void packLine(std::string_view line, bool utf8, StorePacker& packer, Tally& tally) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) {
    ++tally.emptyLines;
    return;
  }
  if (!utf8) {
    packer.add(line);
    return;
  }
  auto gbk = utf8ToGbk(line);
  if (!gbk) {
    if (tally.unencodableExamples.size() < 5) tally.unencodableExamples.emplace_back(line);
    ++tally.unencodable;
    return;
  }
  packer.add(*gbk);
}

// Feeds every line of one list to the packer; false when it cannot be read.
bool packFile(const std::string& name, bool utf8, StorePacker& packer, Tally& tally) {
  std::FILE* f = name == "-" ? stdin : openStdioFile(name, "rb");
  if (!f) return false;
  std::vector<char> buf(1 << 20);
  std::string carry;
  std::size_t got;
  while ((got = std::fread(buf.data(), 1, buf.size(), f)) > 0) {
    std::string_view chunk(buf.data(), got);
    for (std::size_t lf; (lf = chunk.find('\n')) != std::string_view::npos; chunk.remove_prefix(lf + 1)) {
      if (carry.empty()) {
        packLine(chunk.substr(0, lf), utf8, packer, tally);
      } else {
        carry.append(chunk.substr(0, lf));
        packLine(carry, utf8, packer, tally);
        carry.clear();
      }
    }
    carry.append(chunk);
  }
  const bool readOk = !std::ferror(f);
  if (!carry.empty()) packLine(carry, utf8, packer, tally);
  if (f != stdin) std::fclose(f);
  return readOk;
}

}  // namespace

int runPackCommand(int argc, char** argv) {
  ArgReader args(argc, argv);
  std::string error, output, encoding = "utf-8";
  std::optional<KeywordCategory> category;
  std::vector<std::string> files;
  while (args.more()) {
    std::string a = args.next();
    if (!args.positional() && a == "--help") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
    if (!args.positional() && (a == "--output" || a == "--category" || a == "--encoding")) {
      auto v = args.value(a, &error);
      if (!v) return fail(kExitUsage, error);
      if (a == "--output") output = *v;
      if (a == "--encoding") encoding = *v;
      if (a == "--category" && !(category = parseCategory(*v)))
        return fail(kExitUsage, "--category takes product or store, not '" + *v + "'");
    } else if (args.isOption(a)) {
      return fail(kExitUsage, "unknown option '" + a + "' (try kestrix-cli pack --help)");
    } else {
      files.push_back(a);
    }
  }
  if (output.empty()) return fail(kExitUsage, "--output DIR is required");
  if (!category) return fail(kExitUsage, "--category product|store is required");
  if (encoding != "utf-8" && encoding != "gbk") return fail(kExitUsage, "--encoding takes utf-8 or gbk, not '" + encoding + "'");
  if (files.empty()) return fail(kExitUsage, "no keyword list given (FILE..., or - for standard input)");

  StorePacker packer(output, *category);
  if (!packer.ok()) return fail(kExitIo, "cannot create " + packer.error());
  Tally tally;
  for (const std::string& file : files) {
    if (!packFile(file, encoding == "utf-8", packer, tally))
      return fail(kExitIo, "cannot read " + (file == "-" ? std::string("standard input") : file));
  }
  if (!packer.finish()) return fail(kExitIo, "writing " + packer.error() + " failed");
  if (!writeCounts(output, *category, packer.counts()))
    return fail(kExitIo, "cannot write " + output + "/词数.ini");

  const auto& counts = packer.counts();
  std::printf("packed %lld keywords into %s/%s\n", static_cast<long long>(counts[kAllIndex]), output.c_str(),
              std::string(categoryFolder(*category)).c_str());
  if (packer.placedByRule() > 0) {
    std::printf("%lld keywords start with a character that has no letter and were placed by their first letter"
                " (or 0-9), e.g.:\n",
                static_cast<long long>(packer.placedByRule()));
    for (const std::string& kw : packer.placedExamples()) std::printf("  %s\n", gbkToUtf8(kw).c_str());
  }
  if (tally.unencodable > 0) {
    std::printf("%lld lines hold characters GBK cannot hold and were skipped, e.g.:\n",
                static_cast<long long>(tally.unencodable));
    for (const std::string& line : tally.unencodableExamples) std::printf("  %s\n", line.c_str());
  }
  if (tally.emptyLines > 0) std::printf("%lld empty lines skipped\n", static_cast<long long>(tally.emptyLines));
  return kExitOk;
}

}  // namespace kx::cli
