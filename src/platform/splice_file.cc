#include "platform/splice_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kx {
namespace {

constexpr std::size_t kBlock = 64 * 1024;

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
  NativeFile file;
  if (!file.open(path, NativeFile::Access::ReadWriteHeld)) {
    if (error) *error = errno;
    return nullptr;
  }
  return std::unique_ptr<DiskSpliceFile>(new DiskSpliceFile(std::move(file), path));
}

DiskSpliceFile::~DiskSpliceFile() { close(); }

void DiskSpliceFile::close() { file_.close(); }

std::uint64_t DiskSpliceFile::size() const {
  std::uint64_t n = 0;
  return file_.size(n) ? n : 0;
}

std::size_t DiskSpliceFile::readAt(std::uint64_t offset, char* out, std::size_t n) const {
  return file_.readAt(offset, out, n);
}

bool DiskSpliceFile::splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) {
  if (!file_.isOpen()) return false;
  const std::uint64_t oldSize = size();
  if (offset > oldSize || count > oldSize - offset) return false;
  if (bytes.size() == count) {
    if (count == 0) return true;
    ++writes_;
    return file_.writeAt(offset, bytes.data(), bytes.size());
  }

  // Everything from offset on is read first: the moved tail, and the old
  // bytes, to put back if a write fails after the file changed.
  std::string old(static_cast<std::size_t>(oldSize - offset), '\0');
  for (std::size_t got = 0; got < old.size();) {
    std::size_t step = readAt(offset + got, old.data() + got, std::min(kBlock, old.size() - got));
    if (step == 0) return false;  // nothing written yet: the file is unchanged
    got += step;
  }
  std::string buf(bytes);
  buf.append(old, static_cast<std::size_t>(count), std::string::npos);
  const std::uint64_t newSize = offset + buf.size();

  // Room first: when the file cannot grow (full disk, quota, size limit),
  // stop before a byte of it changed.
  if (newSize > oldSize) {
    ++resizes_;
    if (!file_.resize(newSize)) return false;
  }
  bool ok = true;
  if (!buf.empty()) {
    ++writes_;
    ok = file_.writeAt(offset, buf.data(), buf.size());
  }
  if (ok && newSize < oldSize) {
    ++resizes_;
    ok = file_.resize(newSize);
  }
  if (!ok) {
    // Puts the old document back as far as the platform lets us.
    const int err = errno;
    if (file_.writeAt(offset, old.data(), old.size())) file_.resize(oldSize);
    errno = err;
  }
  return ok;
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
