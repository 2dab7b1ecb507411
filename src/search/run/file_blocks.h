// A letter file cut into blocks on line boundaries, so that blocks can be
// read, deciphered and scanned on their own, in any order, by any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory_resource>
#include <string_view>

#include "platform/big_arena.h"
#include "platform/cipher_file.h"
#include "search/store/keyword_store.h"

namespace kx {

// Bytes per block: small enough that a block is still in the core's cache
// when it is scanned after deciphering, large enough that the cost of a read
// call stays small.
inline constexpr std::size_t kDefaultBlockSize = 256 * 1024;

// The bytes of a block, in memory from allocateBig (bigMemory) or from the
// arena of a run. Growing keeps the bytes held but leaves the new ones unset:
// a read writes them before anything looks at them, so no pass of zeroes goes
// over memory that the read is about to fill.
class BlockBuffer {
 public:
  explicit BlockBuffer(std::pmr::memory_resource* memory = bigMemory()) : memory_(memory) {}
  ~BlockBuffer();
  BlockBuffer(const BlockBuffer&) = delete;
  BlockBuffer& operator=(const BlockBuffer&) = delete;

  char* data() { return bytes_; }
  std::size_t size() const { return size_; }

  // Makes size() at least n.
  void grow(std::size_t n);

 private:
  std::pmr::memory_resource* const memory_;
  char* bytes_ = nullptr;
  std::size_t size_ = 0;
};

// The number of blocks of a file of length bytes.
std::uint64_t blockCount(std::uint64_t length, std::size_t blockSize);

// Block k of file holds the lines that start in bytes [k * blockSize,
// (k + 1) * blockSize), whole: the last one runs on to its LF however long it
// is, and a block in which no line starts is empty. Reads block k through
// cursor into buf (grown as needed, never shrunk) and returns its lines, a
// view into buf. *failed tells whether a read error cut the block short; the
// lines then end where reading stopped.
std::string_view readBlock(const LetterFile& file, std::uint64_t k, std::size_t blockSize, CipherFile::Cursor& cursor,
                           BlockBuffer& buf, bool* failed);

}  // namespace kx
