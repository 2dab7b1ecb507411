// kestrix-cli: the command-line face of the keyword search.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include "platform/wide_text.h"
#endif

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

#ifdef _WIN32
// The command line as UTF-8: taken from its UTF-16 form, so a Chinese query
// typed in any console arrives whole whatever the code page.
std::vector<std::string> utf8Arguments() {
  int n = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(kx::fromWide(wide[i]));
  ::LocalFree(wide);
  return out;
}

// UTF-8 text reads correctly in the console; stdout stays binary so that
// exports through it keep their bytes and CR LF exactly; the progress line's
// escape sequences work in the console.
void prepareConsole() {
  ::SetConsoleOutputCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  HANDLE err = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(err, &mode)) ::SetConsoleMode(err, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  using namespace kx::cli;
#ifdef _WIN32
  prepareConsole();
  std::vector<std::string> args = utf8Arguments();
  std::vector<char*> argPointers;
  for (std::string& a : args) argPointers.push_back(a.data());
  argPointers.push_back(nullptr);
  argc = static_cast<int>(args.size());
  argv = argPointers.data();
#endif
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
