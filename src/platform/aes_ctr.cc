#include "platform/aes_ctr.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>

namespace kx {
namespace {

std::uint64_t bigEndian64(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = v << 8 | p[i];
  return v;
}

// Steps the 128-bit counter hi:lo on by blocks.
void advance(std::uint64_t& hi, std::uint64_t& lo, std::uint64_t blocks) {
  lo += blocks;
  if (lo < blocks) ++hi;
}

// One step of the AES-256 key schedule: the next even round key from the
// previous even one (prev) and the assist of the odd one before it.
__attribute__((target("aes"))) __m128i nextEven(__m128i prev, __m128i assist) {
  assist = _mm_shuffle_epi32(assist, 0xFF);
  prev = _mm_xor_si128(prev, _mm_slli_si128(prev, 4));
  prev = _mm_xor_si128(prev, _mm_slli_si128(prev, 8));
  return _mm_xor_si128(prev, assist);
}

// The next odd round key from the previous odd one and the even key just made.
__attribute__((target("aes"))) __m128i nextOdd(__m128i prev, __m128i even) {
  const __m128i assist = _mm_shuffle_epi32(_mm_aeskeygenassist_si128(even, 0), 0xAA);
  prev = _mm_xor_si128(prev, _mm_slli_si128(prev, 4));
  prev = _mm_xor_si128(prev, _mm_slli_si128(prev, 8));
  return _mm_xor_si128(prev, assist);
}

// Round keys 2r and 2r + 1 from 2r - 2 and 2r - 1. The round constant is a
// template argument because the instruction takes it as an immediate.
template <int kRcon>
__attribute__((target("aes"))) void expandPair(__m128i& even, __m128i& odd) {
  even = nextEven(even, _mm_aeskeygenassist_si128(odd, kRcon));
  odd = nextOdd(odd, even);
}

// The AES-256 key schedule, each round key written four times over.
__attribute__((target("aes"))) void expandKey(const unsigned char key[32], unsigned char (*roundKeys)[64]) {
  __m128i even = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
  __m128i odd = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + 16));
  auto store = [roundKeys](int round, __m128i k) {
    for (int lane = 0; lane < 4; ++lane) _mm_storeu_si128(reinterpret_cast<__m128i*>(roundKeys[round] + 16 * lane), k);
  };
  store(0, even), store(1, odd);
  expandPair<0x01>(even, odd), store(2, even), store(3, odd);
  expandPair<0x02>(even, odd), store(4, even), store(5, odd);
  expandPair<0x04>(even, odd), store(6, even), store(7, odd);
  expandPair<0x08>(even, odd), store(8, even), store(9, odd);
  expandPair<0x10>(even, odd), store(10, even), store(11, odd);
  expandPair<0x20>(even, odd), store(12, even), store(13, odd);
  store(14, nextEven(even, _mm_aeskeygenassist_si128(odd, 0x40)));
}

}  // namespace

bool AesCtr::supported() {
  // The avx512 checks include the operating system's saving of the
  // registers (XCR0), which the CPUID bit of VAES alone does not promise.
  return __builtin_cpu_supports("aes") && __builtin_cpu_supports("vaes") && __builtin_cpu_supports("avx512f") &&
         __builtin_cpu_supports("avx512bw");
}

void AesCtr::setKey(const unsigned char key[32]) { expandKey(key, roundKeys_); }

void AesCtr::apply(const unsigned char nonce[16], std::uint64_t pos, unsigned char* data, std::size_t n) const {
  std::uint64_t hi = bigEndian64(nonce), lo = bigEndian64(nonce + 8);
  advance(hi, lo, pos / 16);
  std::size_t skip = pos % 16;
  while (n > 0) {
    if (skip || n < 16) {
      // A block the buffer covers only in part goes through a copy.
      unsigned char block[16] = {};
      const std::size_t take = std::min(16 - skip, n);
      std::memcpy(block + skip, data, take);
      xorBlocks(hi, lo, block, 1);
      std::memcpy(data, block + skip, take);
      data += take, n -= take, skip = 0;
      advance(hi, lo, 1);
      continue;
    }
    // Whole blocks, split where the low half of the counter wraps to 0
    // (-lo blocks ahead, or none at all when lo is 0) so the kernel can add
    // in 64-bit lanes.
    std::uint64_t blocks = n / 16;
    if (lo != 0 && 0 - lo < blocks) blocks = 0 - lo;
    xorBlocks(hi, lo, data, static_cast<std::size_t>(blocks));
    data += 16 * blocks, n -= 16 * blocks;
    advance(hi, lo, blocks);
  }
}

}  // namespace kx
