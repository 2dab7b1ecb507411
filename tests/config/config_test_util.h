// Helpers of the configuration-store tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "config/config_store.h"
#include "support/test_util.h"

namespace kx::test {

// Lines joined by CR LF, without a line break after the last, as the
// store writes documents.
inline std::string crlf(std::initializer_list<std::string_view> lines) {
  std::string out;
  bool first = true;
  for (auto l : lines) {
    if (!first) out += "\r\n";
    out += l;
    first = false;
  }
  return out;
}

// The GBK bytes of a UTF-8 literal (short name for the many texts here).
inline std::string g(std::string_view utf8) { return gbk(utf8); }

}  // namespace kx::test
