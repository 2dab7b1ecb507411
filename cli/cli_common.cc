#include "cli/cli_common.h"

#include <cstdio>

#include "platform/file_util.h"

namespace kx::cli {

int fail(int code, const std::string& message) {
  std::fprintf(stderr, "kestrix-cli: %s\n", message.c_str());
  return code;
}

std::string executableDir() {
  std::string folder = executableFolder();
  return folder.empty() ? "." : folder;
}

std::optional<std::string> ArgReader::value(const std::string& name, std::string* error) {
  if (pos_ >= args_.size()) {
    *error = "option " + name + " needs a value";
    return std::nullopt;
  }
  return next();
}

std::optional<KeywordCategory> parseCategory(std::string_view text) {
  if (text == "product") return KeywordCategory::ProductWords;
  if (text == "store") return KeywordCategory::StoreWords;
  return std::nullopt;
}

std::optional<int> parseLetter(std::string_view text) {
  if (text == "all") return kAllIndex;
  if (text == "0-9") return kDigitsIndex;
  if (text.size() == 1) {
    char c = text[0];
    if (c >= 'a' && c <= 'z') return c - 'a' + 1;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 1;
  }
  return std::nullopt;
}

}  // namespace kx::cli
