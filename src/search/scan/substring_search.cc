#include "search/scan/substring_search.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kx {

const char* SubstringSearcher::find(const char* begin, const char* end) const {
  const std::size_t n = needle_.size();
  if (n == 0) return begin;
  if (static_cast<std::size_t>(end - begin) < n) return nullptr;
  const char* const lastStart = end - n;  // the last position an occurrence can begin at
  if (n == 1) return static_cast<const char*>(std::memchr(begin, needle_[0], static_cast<std::size_t>(end - begin)));
  const char* p = begin;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(needle_[0]);
  const __m128i last = _mm_set1_epi8(needle_[n - 1]);
  // Each round tests the 16 starts p .. p+15; both loads stay inside the buffer.
  for (; p + 15 <= lastStart; p += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
    while (mask) {
      const int bit = __builtin_ctz(mask);
      if (std::memcmp(p + bit + 1, needle_.data() + 1, n - 2) == 0) return p + bit;
      mask &= mask - 1;
    }
  }
#endif
  for (; p <= lastStart; ++p) {
    if (*p == needle_[0] && std::memcmp(p, needle_.data(), n) == 0) return p;
  }
  return nullptr;
}

}  // namespace kx
