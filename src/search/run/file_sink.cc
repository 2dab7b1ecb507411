#include "search/run/file_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kx {
namespace {

constexpr std::size_t kFlushAt = 256 * 1024;

}  // namespace

FileSink::~FileSink() { close(); }

bool FileSink::open(const std::string& path) {
  close();
  errno_ = 0;
  written_ = pending_ = 0;
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd_ < 0) {
    errno_ = errno;
    return false;
  }
  return true;
}

void FileSink::add(std::string_view keyword) {
  if (fd_ < 0 || errno_) return;
  buf_.append(keyword);
  buf_.append("\r\n", 2);
  ++pending_;
  if (buf_.size() >= kFlushAt) flush();
}

void FileSink::addLines(std::string_view lines, long count) {
  if (fd_ < 0 || errno_) return;
  // A large block goes straight to the file; copying it into the buffer first gains nothing.
  if (lines.size() >= kFlushAt / 4 && flush()) {
    writeThrough(lines, static_cast<std::uint64_t>(count));
    return;
  }
  buf_.append(lines);
  pending_ += static_cast<std::uint64_t>(count);
  if (buf_.size() >= kFlushAt) flush();
}

bool FileSink::writeThrough(std::string_view bytes, std::uint64_t keywords) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t put = ::write(fd_, p, left);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      errno_ = put < 0 ? errno : ENOSPC;
      // Count the keywords that reached the file whole.
      std::string_view head = bytes.substr(0, bytes.size() - left);
      for (std::size_t at = head.find("\r\n"); at != std::string_view::npos; at = head.find("\r\n", at + 2))
        ++written_;
      return false;
    }
    p += put;
    left -= static_cast<std::size_t>(put);
  }
  written_ += keywords;
  return true;
}

bool FileSink::flush() {
  if (fd_ < 0 || errno_) return !errno_;
  const bool ok = writeThrough(buf_, pending_);
  buf_.clear();
  pending_ = 0;
  return ok;
}

bool FileSink::close() {
  if (fd_ < 0) return !errno_;
  bool ok = flush();
  if (::close(fd_) != 0 && !errno_) {
    errno_ = errno;
    ok = false;
  }
  fd_ = -1;
  return ok;
}

std::string FileSink::errorText() const { return errno_ ? std::strerror(errno_) : std::string(); }

}  // namespace kx
