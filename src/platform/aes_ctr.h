// AES-256 in counter mode on the processor's vector AES instructions (VAES),
// which encipher several blocks per instruction where the generic library
// path does one. Counter block i of a stream is nonce + i, a 128-bit
// big-endian addition, as in the KXCF container.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kx {

// One key's schedule. Copyable; apply() may run on several threads at once.
class AesCtr {
 public:
  // Whether this processor, and the operating system's saving of its vector
  // registers, can run the keystream. Nothing else may be called when not.
  static bool supported();

  // Expands the 32-byte key; apply() uses it from then on.
  void setKey(const unsigned char key[32]);

  // XORs the keystream bytes [pos, pos + n) of the stream that starts at
  // counter block nonce into data[0, n), in place; pos need not fall on a
  // block boundary. Enciphers and deciphers alike. Needs setKey first.
  void apply(const unsigned char nonce[16], std::uint64_t pos, unsigned char* data, std::size_t n) const;

 private:
  // XORs the keystream of counter blocks hi:lo, hi:lo + 1, ... into
  // data[0, 16 * blocks); lo + blocks - 1 must not pass 2^64 - 1.
  void xorBlocks(std::uint64_t hi, std::uint64_t lo, unsigned char* data, std::size_t blocks) const;

  // Round keys 0..14, each repeated in all four 128-bit lanes of a 512-bit
  // register, so that the kernel reads them straight from memory.
  unsigned char roundKeys_[15][64] = {};
};

}  // namespace kx
