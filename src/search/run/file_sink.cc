#include "search/run/file_sink.h"

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
  offset_ = 0;
  if (!file_.open(path, NativeFile::Access::CreateTruncate)) {
    errno_ = errno;
    return false;
  }
  return true;
}

void FileSink::add(std::string_view keyword) {
  if (!file_.isOpen() || errno_) return;
  buf_.append(keyword);
  buf_.append("\r\n", 2);
  ++pending_;
  if (buf_.size() >= kFlushAt) flush();
}

void FileSink::addLines(std::string_view lines, long count) {
  if (!file_.isOpen() || errno_) return;
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
  std::size_t put = 0;
  const bool ok = file_.writeAt(offset_, bytes.data(), bytes.size(), &put);
  offset_ += put;
  if (!ok) {
    errno_ = errno ? errno : EIO;
    // Count the keywords that reached the file whole.
    std::string_view head = bytes.substr(0, put);
    for (std::size_t at = head.find("\r\n"); at != std::string_view::npos; at = head.find("\r\n", at + 2))
      ++written_;
    return false;
  }
  written_ += keywords;
  return true;
}

bool FileSink::flush() {
  if (!file_.isOpen() || errno_) return !errno_;
  const bool ok = writeThrough(buf_, pending_);
  buf_.clear();
  pending_ = 0;
  return ok;
}

bool FileSink::close() {
  if (!file_.isOpen()) return !errno_;
  bool ok = flush();
  if (!file_.close() && !errno_) {
    errno_ = errno ? errno : EIO;
    ok = false;
  }
  return ok;
}

std::string FileSink::errorText() const { return errno_ ? std::strerror(errno_) : std::string(); }

}  // namespace kx
