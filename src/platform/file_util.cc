#include "platform/file_util.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

namespace kx {

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  out += kPathSeparator;
  out += name;
  return out;
}

std::string_view parentFolder(std::string_view path) {
  std::size_t cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::string_view fileName(std::string_view path) {
  std::size_t cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool readWholeFile(const std::string& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
  std::vector<char> block(64 * 1024);
  for (;;) {
    ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    data.append(block.data(), static_cast<std::size_t>(got));
  }
  ::close(fd);
  out = std::move(data);
  return true;
}

bool writeFileExclusive(const std::string& path, std::string_view bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = true;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  if (ok) ok = ::ftruncate(fd, 0) == 0;
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  while (ok && n > 0) {
    ssize_t put = ::write(fd, p, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      ok = false;
      break;
    }
    p += put;
    n -= static_cast<std::size_t>(put);
  }
  if (::close(fd) != 0) ok = false;
  return ok;
}

bool makeFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return isFolder(path);
}

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
