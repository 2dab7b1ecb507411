// kestrix-cli dump: writes one letter file deciphered, byte for byte.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/commands.h"
#include "platform/file_util.h"
#include "platform/cipher_file.h"
#include "platform/store_password.h"

namespace kx::cli {
namespace {

constexpr char kHelp[] =
    "usage: kestrix-cli dump [--data DIR] [--category product|store] --letter A..Z|0-9 [--output FILE]\n"
    "\n"
    "Writes the deciphered content of one letter file (GBK, as stored) to FILE or standard output.\n";

}  // namespace

int runDumpCommand(int argc, char** argv) {
  ArgReader args(argc, argv);
  std::string error, dataDir, output;
  KeywordCategory category = KeywordCategory::ProductWords;
  int letter = 0;
  while (args.more()) {
    std::string a = args.next();
    if (a == "--help") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    }
    if (a != "--data" && a != "--category" && a != "--letter" && a != "--output")
      return fail(kExitUsage, "unknown argument '" + a + "' (try kestrix-cli dump --help)");
    auto v = args.value(a, &error);
    if (!v) return fail(kExitUsage, error);
    if (a == "--data") dataDir = *v;
    if (a == "--output") output = *v;
    if (a == "--category") {
      auto c = parseCategory(*v);
      if (!c) return fail(kExitUsage, "--category takes product or store, not '" + *v + "'");
      category = *c;
    }
    if (a == "--letter") {
      auto l = parseLetter(*v);
      if (!l || *l == kAllIndex) return fail(kExitUsage, "--letter takes A..Z or 0-9, not '" + *v + "'");
      letter = *l;
    }
  }
  if (letter == 0) return fail(kExitUsage, "--letter is required");
  if (dataDir.empty()) dataDir = executableDir();

  const std::string path = dataDir + "/" + std::string(categoryFolder(category)) + "/" + letterIndexName(letter) + ".txt";
  CipherFile in;
  if (!in.open(path, storePassword())) return fail(kExitIo, path + ": missing, unreadable or not a keyword file");
  std::FILE* out = output.empty() ? stdout : openStdioFile(output, "wb");
  if (!out) return fail(kExitIo, "cannot create " + output);
  std::vector<char> buf(1 << 20);
  bool ok = true;
  for (std::size_t got; ok && (got = in.read(buf.data(), buf.size())) > 0;)
    ok = std::fwrite(buf.data(), 1, got, out) == got;
  ok = ok && in.position() == in.length();
  ok = (out == stdout ? std::fflush(out) == 0 : std::fclose(out) == 0) && ok;
  return ok ? kExitOk : fail(kExitIo, "dumping " + path + " failed");
}

}  // namespace kx::cli
