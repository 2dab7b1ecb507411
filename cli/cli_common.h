// Helpers shared by the subcommands: argument reading, messages, paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/store/keyword_store.h"

namespace kx::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitIo = 1;
inline constexpr int kExitUsage = 2;

// Prints "kestrix-cli: " + message on stderr and returns code.
int fail(int code, const std::string& message);

// The directory holding the running executable (the default data directory).
std::string executableDir();

// Walks argv: options with values, flags, "--" and positional arguments.
class ArgReader {
 public:
  ArgReader(int argc, char** argv) : args_(argv, argv + argc) {}

  // True while arguments remain. A "--" is consumed here: every argument
  // after it is positional, whatever it looks like.
  bool more() {
    if (!positional_ && pos_ < args_.size() && args_[pos_] == "--") {
      positional_ = true;
      ++pos_;
    }
    return pos_ < args_.size();
  }
  // The next argument, consumed; call more() first.
  std::string next() { return args_[pos_++]; }
  // Whether the arguments now being read came after "--".
  bool positional() const { return positional_; }
  // Whether a, just read, is an option (before "--", "-" followed by more).
  bool isOption(const std::string& a) const { return !positional_ && a.size() > 1 && a[0] == '-'; }
  // The value after option name; nullopt (with *error set) when it is missing.
  std::optional<std::string> value(const std::string& name, std::string* error);

 private:
  std::vector<std::string> args_;
  std::size_t pos_ = 0;
  bool positional_ = false;
};

// "product" or "store"; nullopt otherwise.
std::optional<KeywordCategory> parseCategory(std::string_view text);

// "A".."Z" (either case), "0-9" or "all" as a letter index 1..28; nullopt otherwise.
std::optional<int> parseLetter(std::string_view text);

}  // namespace kx::cli
