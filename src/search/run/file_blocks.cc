#include "search/run/file_blocks.h"

#include <algorithm>
#include <cstring>

namespace kx {
namespace {

// Read beyond the block, so that its last line usually needs no second read.
constexpr std::size_t kTail = 4096;

}  // namespace

void BlockBuffer::grow(std::size_t n) {
  if (n <= size_) return;
  // Rounded up, so that the next block, a byte or a line longer than this
  // one, still fits: fresh memory costs a page fault for every page.
  constexpr std::size_t kStep = 64 * 1024;
  n = (n + kStep - 1) / kStep * kStep;
  auto* bigger = static_cast<char*>(memory_->allocate(n, 1));  // left unset on purpose
  if (size_) std::memcpy(bigger, bytes_, size_);
  if (bytes_) memory_->deallocate(bytes_, size_, 1);
  bytes_ = bigger;
  size_ = n;
}

BlockBuffer::~BlockBuffer() {
  if (bytes_) memory_->deallocate(bytes_, size_, 1);
}

std::uint64_t blockCount(std::uint64_t length, std::size_t blockSize) { return (length + blockSize - 1) / blockSize; }

std::string_view readBlock(const LetterFile& file, std::uint64_t k, std::size_t blockSize, CipherFile::Cursor& cursor,
                           BlockBuffer& buf, bool* failed) {
  const std::uint64_t length = file.length();
  const std::uint64_t start = k * blockSize;
  if (start >= length) return {};
  const std::uint64_t end = std::min<std::uint64_t>(start + blockSize, length);
  // One byte before the block tells whether a line starts at its first byte.
  const std::uint64_t from = k ? start - 1 : 0;
  std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(end - from + kTail, length - from));
  buf.grow(want);
  std::size_t got = file.readAt(from, buf.data(), want, cursor);
  *failed = got < want;

  // Lines start after an LF at byte start-1 or later; one found only at end-1
  // or later starts in the next block.
  const std::size_t lastStartByte = static_cast<std::size_t>(end - 1 - from);
  std::size_t first = 0;
  if (k) {
    const void* lf = std::memchr(buf.data(), '\n', std::min(got, lastStartByte));
    if (!lf) return {};
    first = static_cast<std::size_t>(static_cast<const char*>(lf) - buf.data()) + 1;
  }
  // The block ends after the first LF at byte end-1 or later.
  std::size_t scanFrom = lastStartByte;
  for (;;) {
    if (scanFrom >= got) {
      if (*failed || from + got >= length) return {buf.data() + first, std::max(got, first) - first};
    } else if (const void* lf = std::memchr(buf.data() + scanFrom, '\n', got - scanFrom)) {
      const std::size_t last = static_cast<std::size_t>(static_cast<const char*>(lf) - buf.data()) + 1;
      return {buf.data() + first, last - first};
    } else if (from + got >= length) {
      return {buf.data() + first, got - first};
    }
    // A line longer than what was read so far: read on.
    scanFrom = got;
    const std::size_t more =
        static_cast<std::size_t>(std::min<std::uint64_t>(std::max(got, kTail), length - from - got));
    buf.grow(got + more);
    const std::size_t added = file.readAt(from + got, buf.data() + got, more, cursor);
    *failed = added < more;
    got += added;
  }
}

}  // namespace kx
