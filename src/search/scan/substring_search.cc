#include "search/scan/substring_search.h"

#include "search/scan/byte_scan.h"

namespace kx {

const char* SubstringSearcher::find(const char* begin, const char* end) const {
  return findSubstring(begin, end, needle_);
}

}  // namespace kx
