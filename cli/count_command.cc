// kestrix-cli count: prints a count from the counts file 词数.ini, as the
// window's count caption would show it.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/file_util.h"
#include "search/store/keyword_counts.h"

namespace kx::cli {
namespace {

constexpr char kHelp[] =
    "usage: kestrix-cli count [--data DIR] [--category product|store] [--letter L]\n"
    "\n"
    "Prints the number of keywords that DIR/词数.ini states for one letter file of a\n"
    "category, or for the whole category. The letter files are not counted.\n"
    "\n"
    "  --data DIR      folder holding 词数.ini (default: the executable's folder)\n"
    "  --category C    product (商品词, default) or store (店铺词)\n"
    "  --letter L      A..Z, 0-9 or all (default all; \"all\" is the file's own total)\n"
    "\n"
    "A missing 词数.ini is created empty, as the program does, and every count is 0.\n"
    "Exit status: 0 done, 1 I/O error, 2 usage error.\n";

}  // namespace

int runCountCommand(int argc, char** argv) {
  ArgReader args(argc, argv);
  std::string error;
  std::string dataDir;
  KeywordCategory category = KeywordCategory::ProductWords;
  int letter = kAllIndex;
  while (args.more()) {
    std::string a = args.next();
    if (a == "--help" || a == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
    if (a == "--data" || a == "--category" || a == "--letter") {
      auto v = args.value(a, &error);
      if (!v) return fail(kExitUsage, error);
      if (a == "--data") {
        dataDir = *v;
      } else if (a == "--category") {
        auto c = parseCategory(*v);
        if (!c) return fail(kExitUsage, "--category takes product or store, not '" + *v + "'");
        category = *c;
      } else {
        auto l = parseLetter(*v);
        if (!l) return fail(kExitUsage, "--letter takes A..Z, 0-9 or all, not '" + *v + "'");
        letter = *l;
      }
    } else {
      return fail(kExitUsage, "unexpected argument '" + a + "' (try kestrix-cli count --help)");
    }
  }
  if (dataDir.empty()) dataDir = executableDir();
  while (dataDir.size() > 1 && dataDir.back() == '/') dataDir.pop_back();

  const std::string path = countsFilePath(dataDir);
  if (!isFolder(dataDir)) return fail(kExitIo, "cannot read " + path + ": no such folder " + dataDir);
  KeywordStore store;
  loadCounts(store, dataDir);
  std::string content;
  if (!readWholeFile(path, content)) {
    int err = errno;
    return fail(kExitIo, "cannot read " + path + ": " + std::strerror(err));
  }
  std::printf("%ld\n", static_cast<long>(store.keywordCount(category, letter)));
  return kExitOk;
}

}  // namespace kx::cli
