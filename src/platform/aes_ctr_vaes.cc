// The keystream kernel on VAES. Locals stay in registers and every vector
// access is unaligned: mingw-w64's gcc cannot align stack slots for 256- or
// 512-bit values on Windows, so a spilled vector there could fault.
#include <immintrin.h>

#include "platform/aes_ctr.h"

#define KX_ZMM __attribute__((target("vaes,avx512f,avx512bw")))

namespace kx {
namespace {

using RoundKeys = const unsigned char (*)[64];

// Counters are held as native 64-bit halves, hi then lo, in each 128-bit lane,
// and turned into big-endian blocks by reversing the bytes of each half.
KX_ZMM inline __m512i firstRound(__m512i ctr, RoundKeys keys) {
  const long long low = 0x0001020304050607, high = 0x08090A0B0C0D0E0F;  // byte indices, reversed in each half
  const __m512i swap = _mm512_set_epi64(high, low, high, low, high, low, high, low);
  return _mm512_xor_si512(_mm512_shuffle_epi8(ctr, swap), _mm512_loadu_si512(keys[0]));
}

KX_ZMM void xorZmm(RoundKeys keys, std::uint64_t hi, std::uint64_t lo, unsigned char* data, std::size_t blocks) {
  const auto h = static_cast<long long>(hi), l = static_cast<long long>(lo);
  __m512i ctr = _mm512_add_epi64(_mm512_set_epi64(l, h, l, h, l, h, l, h), _mm512_set_epi64(3, 0, 2, 0, 1, 0, 0, 0));
  const __m512i step = _mm512_set_epi64(4, 0, 4, 0, 4, 0, 4, 0);
  // Eight registers in flight hide the latency of each round; measured here
  // 512-bit registers encipher twice as fast as 256-bit ones.
  constexpr int kWays = 8;
  for (; blocks >= 4 * kWays; blocks -= 4 * kWays, data += 64 * kWays) {
    __m512i s[kWays];
#pragma GCC unroll 16
    for (int j = 0; j < kWays; ++j) s[j] = firstRound(ctr, keys), ctr = _mm512_add_epi64(ctr, step);
    for (int r = 1; r < 14; ++r) {
      const __m512i k = _mm512_loadu_si512(keys[r]);
#pragma GCC unroll 16
      for (int j = 0; j < kWays; ++j) s[j] = _mm512_aesenc_epi128(s[j], k);
    }
    const __m512i k = _mm512_loadu_si512(keys[14]);
#pragma GCC unroll 16
    for (int j = 0; j < kWays; ++j) {
      unsigned char* p = data + 64 * j;
      _mm512_storeu_si512(p, _mm512_xor_si512(_mm512_loadu_si512(p), _mm512_aesenclast_epi128(s[j], k)));
    }
  }
  // Four blocks at a time, the last one to three through a mask.
  while (blocks > 0) {
    __m512i s = firstRound(ctr, keys);
    ctr = _mm512_add_epi64(ctr, step);
    for (int r = 1; r < 14; ++r) s = _mm512_aesenc_epi128(s, _mm512_loadu_si512(keys[r]));
    s = _mm512_aesenclast_epi128(s, _mm512_loadu_si512(keys[14]));
    const std::size_t n = blocks < 4 ? blocks : 4;
    const auto mask = static_cast<__mmask8>((1u << (2 * n)) - 1);
    _mm512_mask_storeu_epi64(data, mask, _mm512_xor_si512(_mm512_maskz_loadu_epi64(mask, data), s));
    blocks -= n, data += 16 * n;
  }
}

}  // namespace

void AesCtr::xorBlocks(std::uint64_t hi, std::uint64_t lo, unsigned char* data, std::size_t blocks) const {
  xorZmm(roundKeys_, hi, lo, data, blocks);
}

}  // namespace kx
