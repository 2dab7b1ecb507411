#include "platform/splice_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kx {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

bool pwriteAll(int fd, const char* p, std::size_t n, std::uint64_t offset) {
  while (n > 0) {
    ssize_t put = ::pwrite(fd, p, n, static_cast<off_t>(offset));
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (put == 0) return false;
    p += put;
    n -= static_cast<std::size_t>(put);
    offset += static_cast<std::uint64_t>(put);
  }
  return true;
}

}  // namespace

bool SpliceFile::readAll(std::string& out) const {
  out.clear();
  if (!isOpen()) return false;
  const std::uint64_t n = size();
  out.resize(static_cast<std::size_t>(n));
  std::size_t got = 0;
  while (got < out.size()) {
    std::size_t step = readAt(got, out.data() + got, std::min(kBlock, out.size() - got));
    if (step == 0) {
      out.resize(got);
      return false;
    }
    got += step;
  }
  return true;
}

// ---- DiskSpliceFile ----

std::unique_ptr<DiskSpliceFile> DiskSpliceFile::open(const std::string& path, int* error) {
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (error) *error = errno;
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (error) *error = errno ? errno : EINVAL;
    ::close(fd);
    return nullptr;
  }
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (error) *error = errno;
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<DiskSpliceFile>(new DiskSpliceFile(fd, path));
}

DiskSpliceFile::~DiskSpliceFile() { close(); }

void DiskSpliceFile::close() {
  if (fd_ >= 0) {
    ::close(fd_);  // releases the flock with the last descriptor
    fd_ = -1;
  }
}

std::uint64_t DiskSpliceFile::size() const {
  if (fd_ < 0) return 0;
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

std::size_t DiskSpliceFile::readAt(std::uint64_t offset, char* out, std::size_t n) const {
  if (fd_ < 0) return 0;
  for (;;) {
    ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    return got < 0 ? 0 : static_cast<std::size_t>(got);
  }
}

bool DiskSpliceFile::splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) {
  if (fd_ < 0) return false;
  const std::uint64_t oldSize = size();
  if (offset > oldSize || count > oldSize - offset) return false;
  if (bytes.size() == count) {
    if (count == 0) return true;
    ++writes_;
    return pwriteAll(fd_, bytes.data(), bytes.size(), offset);
  }

  // New bytes followed by the tail, read in blocks, then written at once.
  const std::uint64_t tailStart = offset + count;
  const std::uint64_t tailLen = oldSize - tailStart;
  std::string buf;
  buf.reserve(bytes.size() + static_cast<std::size_t>(tailLen));
  buf.append(bytes);
  buf.resize(bytes.size() + static_cast<std::size_t>(tailLen));
  std::size_t got = 0;
  while (got < tailLen) {
    std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, tailLen - got));
    std::size_t step = readAt(tailStart + got, buf.data() + bytes.size() + got, want);
    if (step == 0) return false;  // nothing written yet: the file is unchanged
    got += step;
  }
  if (!buf.empty()) {
    ++writes_;
    if (!pwriteAll(fd_, buf.data(), buf.size(), offset)) return false;
  }
  const std::uint64_t newSize = offset + buf.size();
  if (newSize < oldSize) {
    ++truncates_;
    while (::ftruncate(fd_, static_cast<off_t>(newSize)) != 0) {
      if (errno != EINTR) return false;
    }
  }
  return true;
}

// ---- MemorySpliceFile ----

MemorySpliceFile::MemorySpliceFile(std::string_view initial) {
  reserveFor(initial.size());
  bytes_.assign(initial.begin(), initial.end());
}

void MemorySpliceFile::reserveFor(std::size_t n) {
  if (n <= bytes_.capacity()) return;
  constexpr std::size_t kStep = 1024;
  bytes_.reserve((n + kStep - 1) / kStep * kStep);
}

bool MemorySpliceFile::splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) {
  if (!open_) return false;
  const std::size_t size = bytes_.size();
  if (offset > size || count > size - offset) return false;
  const auto at = static_cast<std::size_t>(offset);
  const auto del = static_cast<std::size_t>(count);
  if (bytes.size() > del) reserveFor(size - del + bytes.size());
  const std::size_t common = std::min(del, bytes.size());
  std::copy_n(bytes.data(), common, bytes_.begin() + static_cast<std::ptrdiff_t>(at));
  if (del > common) {
    auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(at + common);
    bytes_.erase(first, first + static_cast<std::ptrdiff_t>(del - common));
  } else if (bytes.size() > common) {
    bytes_.insert(bytes_.begin() + static_cast<std::ptrdiff_t>(at + common), bytes.data() + common,
                  bytes.data() + bytes.size());
  }
  return true;
}

std::size_t MemorySpliceFile::readAt(std::uint64_t offset, char* out, std::size_t n) const {
  if (!open_ || offset >= bytes_.size()) return 0;
  std::size_t k = std::min(n, bytes_.size() - static_cast<std::size_t>(offset));
  std::memcpy(out, bytes_.data() + offset, k);
  return k;
}

void MemorySpliceFile::close() {
  open_ = false;
  bytes_.clear();
  bytes_.shrink_to_fit();
}

}  // namespace kx
