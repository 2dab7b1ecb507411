// NativeFile and the folder functions of file_util.h on POSIX systems.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

#include "platform/file_util.h"
#include "platform/native_file.h"

namespace kx {
namespace {

int fdOf(std::intptr_t h) { return static_cast<int>(h); }

}  // namespace

bool NativeFile::open(const std::string& path, Access access) {
  close();
  int flags = O_CLOEXEC;
  switch (access) {
    case Access::Read: flags |= O_RDONLY; break;
    case Access::CreateTruncate: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case Access::ReadWriteShared:
    case Access::ReadWriteHeld: flags |= O_RDWR | O_CREAT; break;
  }
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return false;
  struct stat st {};
  // Exports may go to a device or a pipe; everything else needs a plain file.
  const bool plainOnly = access != Access::CreateTruncate;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) || (plainOnly && !S_ISREG(st.st_mode))) {
    int err = S_ISDIR(st.st_mode) ? EISDIR : (errno ? errno : EINVAL);
    ::close(fd);
    errno = err;
    return false;
  }
  if (access == Access::ReadWriteHeld) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      errno = err;
      return false;
    }
  }
  handle_ = fd;
  return true;
}

bool NativeFile::close() {
  if (handle_ == kClosed) return true;
  int fd = fdOf(handle_);
  handle_ = kClosed;
  return ::close(fd) == 0;  // releases the flock with the last descriptor
}

bool NativeFile::size(std::uint64_t& out) const {
  if (handle_ == kClosed) return false;
  struct stat st {};
  if (::fstat(fdOf(handle_), &st) != 0) return false;
  out = static_cast<std::uint64_t>(st.st_size);
  return true;
}

std::size_t NativeFile::readAt(std::uint64_t offset, void* out, std::size_t n) const {
  if (handle_ == kClosed) return 0;
  auto* p = static_cast<char*>(out);
  std::size_t got = 0;
  while (got < n) {
    ssize_t step = ::pread(fdOf(handle_), p + got, n - got, static_cast<off_t>(offset + got));
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) break;
    got += static_cast<std::size_t>(step);
  }
  return got;
}

bool NativeFile::writeAt(std::uint64_t offset, const void* data, std::size_t n, std::size_t* written) {
  if (written) *written = 0;
  if (handle_ == kClosed) return false;
  const auto* p = static_cast<const char*>(data);
  while (n > 0) {
    ssize_t put = ::pwrite(fdOf(handle_), p, n, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    p += put;
    n -= static_cast<std::size_t>(put);
    offset += static_cast<std::uint64_t>(put);
    if (written) *written += static_cast<std::size_t>(put);
  }
  return true;
}

bool NativeFile::resize(std::uint64_t length) {
  std::uint64_t now = 0;
  if (!size(now)) return false;
  const int fd = fdOf(handle_);
  if (length > now) {
    // Allocates the blocks too (a sparse extension would only move the
    // failure to the later write); beyond a size limit this fails with EFBIG.
    int err = ::posix_fallocate(fd, static_cast<off_t>(now), static_cast<off_t>(length - now));
    if (err == 0) return true;
    while (::ftruncate(fd, static_cast<off_t>(now)) != 0 && errno == EINTR) {
    }
    errno = err;
    return false;
  }
  while (::ftruncate(fd, static_cast<off_t>(length)) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

bool renameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

long currentProcessId() { return static_cast<long>(::getpid()); }

bool makeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return isFolder(path);
}

std::FILE* openStdioFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool fileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string executableFolder() {
  std::vector<char> buf(PATH_MAX + 1);
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string exe(buf.data(), static_cast<std::size_t>(n));
  return std::string(parentFolder(exe));
}

}  // namespace kx
