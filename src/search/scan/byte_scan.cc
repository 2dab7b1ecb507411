#include "search/scan/byte_scan.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define KX_X86 1
#endif

namespace kx {
namespace {

using FindSubstringFn = const char* (*)(const char*, const char*, std::string_view, Anchor);
using FindLineEndsFn = std::size_t (*)(const char*, std::size_t, std::uint32_t*);
using CountExportFn = long (*)(const char*, std::size_t);

// The needle's middle bytes, compared at a candidate whose ends already fit.
inline bool middleFits(const char* at, std::string_view needle) {
  return needle.size() < 3 || std::memcmp(at + 1, needle.data() + 1, needle.size() - 2) == 0;
}

// Whether an occurrence at `at` (inside [begin, end)) stands where anchor asks.
inline bool anchorFits(const char* at, const char* begin, const char* end, std::size_t n, Anchor anchor) {
  switch (anchor) {
    case Anchor::LineStart:
      return at == begin || at[-1] == '\n';
    case Anchor::LineEnd: {
      const char* after = at + n;
      return after == end || *after == '\n' || (*after == '\r' && after + 1 < end && after[1] == '\n');
    }
    case Anchor::None:
      break;
  }
  return true;
}

const char* findSubstringTail(const char* p, const char* begin, const char* end, std::string_view needle,
                              Anchor anchor) {
  const char* const lastStart = end - needle.size();
  for (; p <= lastStart; ++p) {
    if (*p == needle[0] && p[needle.size() - 1] == needle.back() && middleFits(p, needle) &&
        anchorFits(p, begin, end, needle.size(), anchor))
      return p;
  }
  return nullptr;
}

std::size_t findLineEndsTail(const char* bytes, std::size_t i, std::size_t n, std::uint32_t* out, std::size_t k) {
  for (; i < n; ++i) {
    if (bytes[i] == '\n') out[k++] = static_cast<std::uint32_t>(i);
  }
  return k;
}

// The export-format test of bytes [i, n) given that every LF before i had
// its CR; count is the LFs before i.
long countExportTail(const char* bytes, std::size_t i, std::size_t n, long count) {
  for (; i < n; ++i) {
    if (bytes[i] != '\n') continue;
    if (i == 0 || bytes[i - 1] != '\r') return -1;
    ++count;
  }
  return count;
}

const char* findSubstringPortable(const char* begin, const char* end, std::string_view needle, Anchor anchor) {
  return findSubstringTail(begin, begin, end, needle, anchor);
}

// Writes the offsets i + b of the set bits b of a round's LF mask to out from
// k on and returns the new k. The first Ahead are written whatever their
// number, a stand-in past the round for each missing one, so that the common
// rounds (keywords hold one to three LFs in 32 bytes) take no branch the
// processor cannot foresee. Each LF before the round has its offset below k,
// so out[k + Ahead - 1] lies within the room of findLineEnds while Ahead does
// not pass the round's bytes.
template <int Ahead>
inline std::size_t takeLineEnds(unsigned mask, std::size_t i, std::uint32_t* out, std::size_t k) {
  const auto at = static_cast<std::uint32_t>(i);
  std::uint64_t m = mask;
  for (int j = 0; j < Ahead; ++j) {
    out[k + j] = at + static_cast<std::uint32_t>(__builtin_ctzll(m | std::uint64_t{1} << 32));
    m &= m - 1;
  }
  const auto count = static_cast<std::size_t>(__builtin_popcount(mask));
  for (std::size_t j = Ahead; j < count; ++j) {
    out[k + j] = at + static_cast<std::uint32_t>(__builtin_ctzll(m));
    m &= m - 1;
  }
  return k + count;
}

std::size_t findLineEndsPortable(const char* bytes, std::size_t n, std::uint32_t* out) {
  return findLineEndsTail(bytes, 0, n, out, 0);
}

long countExportPortable(const char* bytes, std::size_t n) { return countExportTail(bytes, 0, n, 0); }

#if KX_X86
// Each round tests 16 starts p .. p+15 for the needle's first and last
// bytes and, when anchored, the byte before (LF) or after (CR or LF); every
// load stays inside [begin, end).
__attribute__((target("sse2"))) const char* findSubstringSse2(const char* begin, const char* end,
                                                              std::string_view needle, Anchor anchor) {
  const std::size_t n = needle.size();
  const char* const lastStart = end - n;
  const char* p = begin;
  // A line start at begin has no byte before it to load.
  if (anchor == Anchor::LineStart) {
    if (findSubstringTail(p, begin, p + n, needle, anchor)) return p;
    ++p;
  }
  const __m128i first = _mm_set1_epi8(needle[0]);
  const __m128i last = _mm_set1_epi8(needle[n - 1]);
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  // With LineEnd the byte after the needle is loaded too, so one start less.
  const char* const vectorEnd = anchor == Anchor::LineEnd ? lastStart - 1 : lastStart;
  for (; p + 15 <= vectorEnd; p += 16) {
    __m128i hits = _mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), first),
                               _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1)), last));
    if (anchor == Anchor::LineStart) {
      hits = _mm_and_si128(hits, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1)), lf));
    } else if (anchor == Anchor::LineEnd) {
      const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n));
      hits = _mm_and_si128(hits, _mm_or_si128(_mm_cmpeq_epi8(after, lf), _mm_cmpeq_epi8(after, cr)));
    }
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
    while (mask) {
      const char* at = p + __builtin_ctz(mask);
      if (middleFits(at, needle) && anchorFits(at, begin, end, n, anchor)) return at;
      mask &= mask - 1;
    }
  }
  return findSubstringTail(p, begin, end, needle, anchor);
}

__attribute__((target("sse2"))) std::size_t findLineEndsSse2(const char* bytes, std::size_t n, std::uint32_t* out) {
  const __m128i lf = _mm_set1_epi8('\n');
  std::size_t i = 0, k = 0;
  for (; i + 16 <= n; i += 16) {
    const unsigned mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i)), lf)));
    k = takeLineEnds<2>(mask, i, out, k);
  }
  return findLineEndsTail(bytes, i, n, out, k);
}

// An LF at i needs a CR at i-1: the LF mask of a round must lie inside the CR
// mask shifted on by one, with the round's first bit taking the byte before it.
__attribute__((target("sse2"))) long countExportSse2(const char* bytes, std::size_t n) {
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  long count = 0;
  std::size_t i = 0;
  unsigned carry = 0;  // whether the byte before the round is a CR
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    const unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)));
    const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)));
    if (lfs & ~((crs << 1) | carry)) return -1;
    carry = crs >> 15;
    count += __builtin_popcount(lfs);
  }
  return countExportTail(bytes, i, n, count);
}

// Each round tests 32 starts p .. p+31 for the needle's first and last
// bytes and, when anchored, the byte before (LF) or after (CR or LF); every
// load stays inside [begin, end).
__attribute__((target("avx2"))) const char* findSubstringAvx2(const char* begin, const char* end,
                                                              std::string_view needle, Anchor anchor) {
  const std::size_t n = needle.size();
  const char* const lastStart = end - n;
  const char* p = begin;
  // A line start at begin has no byte before it to load.
  if (anchor == Anchor::LineStart) {
    if (findSubstringTail(p, begin, p + n, needle, anchor)) return p;
    ++p;
  }
  const __m256i first = _mm256_set1_epi8(needle[0]);
  const __m256i last = _mm256_set1_epi8(needle[n - 1]);
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  // With LineEnd the byte after the needle is loaded too, so one start less.
  const char* const vectorEnd = anchor == Anchor::LineEnd ? lastStart - 1 : lastStart;
  for (; p + 31 <= vectorEnd; p += 32) {
    __m256i hits = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), first),
                               _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 1)), last));
    if (anchor == Anchor::LineStart) {
      hits = _mm256_and_si256(hits, _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p - 1)), lf));
    } else if (anchor == Anchor::LineEnd) {
      const __m256i after = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n));
      hits = _mm256_and_si256(hits, _mm256_or_si256(_mm256_cmpeq_epi8(after, lf), _mm256_cmpeq_epi8(after, cr)));
    }
    unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(hits));
    while (mask) {
      const char* at = p + __builtin_ctz(mask);
      if (middleFits(at, needle) && anchorFits(at, begin, end, n, anchor)) return at;
      mask &= mask - 1;
    }
  }
  return findSubstringTail(p, begin, end, needle, anchor);
}

__attribute__((target("avx2,popcnt"))) std::size_t findLineEndsAvx2(const char* bytes, std::size_t n, std::uint32_t* out) {
  const __m256i lf = _mm256_set1_epi8('\n');
  std::size_t i = 0, k = 0;
  for (; i + 32 <= n; i += 32) {
    const unsigned mask = static_cast<unsigned>(
        _mm256_movemask_epi8(_mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i)), lf)));
    k = takeLineEnds<4>(mask, i, out, k);
  }
  return findLineEndsTail(bytes, i, n, out, k);
}

__attribute__((target("avx2,popcnt"))) long countExportAvx2(const char* bytes, std::size_t n) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  long count = 0;
  std::size_t i = 0;
  unsigned carry = 0;
  for (; i + 32 <= n; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + i));
    const unsigned lfs = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, lf)));
    const unsigned crs = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, cr)));
    if (lfs & ~((crs << 1) | carry)) return -1;
    carry = crs >> 31;
    count += __builtin_popcount(lfs);
  }
  return countExportTail(bytes, i, n, count);
}

// The AVX2 rounds over 64 bytes, with the compares giving bit masks directly.
__attribute__((target("avx512f,avx512bw"))) const char* findSubstringAvx512(const char* begin, const char* end,
                                                                            std::string_view needle, Anchor anchor) {
  const std::size_t n = needle.size();
  const char* const lastStart = end - n;
  const char* p = begin;
  if (anchor == Anchor::LineStart) {
    if (findSubstringTail(p, begin, p + n, needle, anchor)) return p;
    ++p;
  }
  const __m512i first = _mm512_set1_epi8(needle[0]);
  const __m512i last = _mm512_set1_epi8(needle[n - 1]);
  const __m512i lf = _mm512_set1_epi8('\n');
  const __m512i cr = _mm512_set1_epi8('\r');
  const char* const vectorEnd = anchor == Anchor::LineEnd ? lastStart - 1 : lastStart;
  for (; p + 63 <= vectorEnd; p += 64) {
    __mmask64 hits = _mm512_mask_cmpeq_epi8_mask(_mm512_cmpeq_epi8_mask(_mm512_loadu_si512(p), first),
                                                 _mm512_loadu_si512(p + n - 1), last);
    if (anchor == Anchor::LineStart) {
      hits = _mm512_mask_cmpeq_epi8_mask(hits, _mm512_loadu_si512(p - 1), lf);
    } else if (anchor == Anchor::LineEnd) {
      const __m512i after = _mm512_loadu_si512(p + n);
      hits &= _mm512_cmpeq_epi8_mask(after, lf) | _mm512_cmpeq_epi8_mask(after, cr);
    }
    while (hits) {
      const char* at = p + __builtin_ctzll(hits);
      if (middleFits(at, needle) && anchorFits(at, begin, end, n, anchor)) return at;
      hits &= hits - 1;
    }
  }
  return findSubstringTail(p, begin, end, needle, anchor);
}

__attribute__((target("avx512f,avx512bw,popcnt"))) std::size_t findLineEndsAvx512(const char* bytes, std::size_t n,
                                                                                  std::uint32_t* out) {
  const __m512i lf = _mm512_set1_epi8('\n');
  std::size_t i = 0, k = 0;
  for (; i + 64 <= n; i += 64) {
    const std::uint64_t mask = _mm512_cmpeq_epi8_mask(_mm512_loadu_si512(bytes + i), lf);
    k = takeLineEnds<4>(static_cast<unsigned>(mask), i, out, k);
    k = takeLineEnds<4>(static_cast<unsigned>(mask >> 32), i + 32, out, k);
  }
  return findLineEndsTail(bytes, i, n, out, k);
}

__attribute__((target("avx512f,avx512bw,popcnt"))) long countExportAvx512(const char* bytes, std::size_t n) {
  const __m512i lf = _mm512_set1_epi8('\n');
  const __m512i cr = _mm512_set1_epi8('\r');
  long count = 0;
  std::size_t i = 0;
  std::uint64_t carry = 0;
  for (; i + 64 <= n; i += 64) {
    const __m512i v = _mm512_loadu_si512(bytes + i);
    const std::uint64_t lfs = _mm512_cmpeq_epi8_mask(v, lf);
    const std::uint64_t crs = _mm512_cmpeq_epi8_mask(v, cr);
    if (lfs & ~((crs << 1) | carry)) return -1;
    carry = crs >> 63;
    count += __builtin_popcountll(lfs);
  }
  return countExportTail(bytes, i, n, count);
}

bool cpuHasAvx512() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("popcnt");
}

bool cpuHasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
}
#endif

struct Scans {
  VectorPath path;
  FindSubstringFn findSubstring;
  FindLineEndsFn findLineEnds;
  CountExportFn countExport;
};

Scans scansFor(VectorPath path) {
  switch (path) {
#if KX_X86
    case VectorPath::Avx512:
      return {path, findSubstringAvx512, findLineEndsAvx512, countExportAvx512};
    case VectorPath::Avx2:
      return {path, findSubstringAvx2, findLineEndsAvx2, countExportAvx2};
    case VectorPath::Sse2:
      return {path, findSubstringSse2, findLineEndsSse2, countExportSse2};
#else
    case VectorPath::Avx512:
    case VectorPath::Avx2:
    case VectorPath::Sse2:
#endif
    case VectorPath::Portable:
      break;
  }
  return {VectorPath::Portable, findSubstringPortable, findLineEndsPortable, countExportPortable};
}

bool supported(VectorPath path) {
#if KX_X86
  if (path == VectorPath::Avx512) return cpuHasAvx512();
  return path != VectorPath::Avx2 || cpuHasAvx2();
#else
  return path == VectorPath::Portable;
#endif
}

Scans& active() {
  static Scans scans = scansFor(supported(VectorPath::Avx512) ? VectorPath::Avx512
                                : supported(VectorPath::Avx2) ? VectorPath::Avx2
                                                              : VectorPath::Sse2);
  return scans;
}

}  // namespace

VectorPath vectorPath() { return active().path; }

bool forceVectorPath(VectorPath path) {
  if (!supported(path)) return false;
  active() = scansFor(path);
  return true;
}

const char* findSubstring(const char* begin, const char* end, std::string_view needle, Anchor anchor) {
  if (needle.empty()) return begin;
  if (static_cast<std::size_t>(end - begin) < needle.size()) return nullptr;
  return active().findSubstring(begin, end, needle, anchor);
}

std::size_t findLineEnds(const char* bytes, std::size_t n, std::uint32_t* out) {
  return active().findLineEnds(bytes, n, out);
}

long countExportLines(std::string_view lines) {
  if (lines.size() < 2 || lines.substr(lines.size() - 2) != "\r\n") return -1;
  return active().countExport(lines.data(), lines.size());
}

}  // namespace kx
