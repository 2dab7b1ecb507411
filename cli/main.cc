// kestrix-cli: the command-line face of the keyword search.
#include <cstdio>
#include <cstring>

#include "cli/cli_common.h"
#include "cli/commands.h"

namespace {

constexpr char kUsage[] =
    "usage: kestrix-cli COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  search   search the keyword store (kestrix-cli search --help)\n"
    "  pack     build a keyword store from keyword lists\n"
    "  count    print a stored keyword count\n"
    "  dump     write one letter file deciphered\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace kx::cli;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::fputs(kUsage, argc < 2 ? stderr : stdout);
    return argc < 2 ? kExitUsage : kExitOk;
  }
  const char* command = argv[1];
  if (std::strcmp(command, "search") == 0) return runSearchCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "pack") == 0) return runPackCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "dump") == 0) return runDumpCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "count") == 0) return runCountCommand(argc - 2, argv + 2);
  return fail(kExitUsage, std::string("unknown command '") + command + "' (try kestrix-cli --help)");
}
