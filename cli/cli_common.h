// Helpers shared by the subcommands: argument reading, messages, paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/keyword_store.h"

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

  // True while arguments remain.
  bool more() const { return pos_ < args_.size(); }
  // The next argument, consumed.
  std::string next() { return args_[pos_++]; }
  // The value after option name; nullopt (with *error set) when it is missing.
  std::optional<std::string> value(const std::string& name, std::string* error);

 private:
  std::vector<std::string> args_;
  std::size_t pos_ = 0;
};

// "product" or "store"; nullopt otherwise.
std::optional<KeywordCategory> parseCategory(std::string_view text);

// "A".."Z" (either case), "0-9" or "all" as a letter index 1..28; nullopt otherwise.
std::optional<int> parseLetter(std::string_view text);

}  // namespace kx::cli
