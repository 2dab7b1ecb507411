// Helpers shared by the test suites.
#pragma once

#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "platform/file_util.h"
#include "text/gbk_codec.h"

namespace kx::test {

// The GBK bytes of a UTF-8 literal; the test fails loudly on a character GBK cannot hold.
inline std::string gbk(std::string_view utf8) {
  auto bytes = utf8ToGbk(utf8);
  if (!bytes) throw std::runtime_error("not GBK: " + std::string(utf8));
  return *bytes;
}

inline std::string gbk(const char8_t* utf8) { return gbk(std::string_view(reinterpret_cast<const char*>(utf8))); }

// A fresh directory under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir() {
    static std::atomic<unsigned> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      auto p = std::filesystem::temp_directory_path() /
               ("kestrix-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
      std::error_code ec;
      if (std::filesystem::create_directory(p, ec)) path_ = p.string();
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const { return joinPath(path_, name); }

 private:
  std::string path_;
};

// Sets (or with nullptr removes) an environment variable of this process.
inline void setEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value) {
    ::setenv(name, value, 1);
  } else {
    ::unsetenv(name);
  }
#endif
}

// A UTF-8 path as the standard library's path (Windows would read a plain
// string in the ANSI code page).
inline std::filesystem::path fsPath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(fsPath(path), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void writeFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace kx::test
