// Fast search for a byte string in a large buffer (see findSubstring).
#pragma once

#include <string>
#include <string_view>

namespace kx {

class SubstringSearcher {
 public:
  explicit SubstringSearcher(std::string_view needle) : needle_(needle) {}

  // The first occurrence of the needle in [begin, end), or nullptr. An empty
  // needle is found at begin.
  const char* find(const char* begin, const char* end) const;

  const std::string& needle() const { return needle_; }

 private:
  const std::string needle_;
};

}  // namespace kx
