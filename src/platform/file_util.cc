#include "platform/file_util.h"

#include <cerrno>

#include "platform/native_file.h"

namespace kx {

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  out += kPathSeparator;
  out += name;
  return out;
}

// Windows takes "/" between folders too.
#ifdef _WIN32
constexpr std::string_view kSeparators = "\\/";
#else
constexpr std::string_view kSeparators = "/";
#endif

std::string_view parentFolder(std::string_view path) {
  std::size_t cut = path.find_last_of(kSeparators);
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::string_view fileName(std::string_view path) {
  std::size_t cut = path.find_last_of(kSeparators);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool readWholeFile(const std::string& path, std::string& out) {
  NativeFile file;
  std::uint64_t size = 0;
  if (!file.open(path, NativeFile::Access::Read) || !file.size(size)) return false;
  std::string data(static_cast<std::size_t>(size), '\0');
  data.resize(file.readAt(0, data.data(), data.size()));
  // A file that grew while being read: take the rest too.
  char block[64 * 1024];
  while (std::size_t got = file.readAt(data.size(), block, sizeof block)) data.append(block, got);
  out = std::move(data);
  return true;
}

bool writeFileExclusive(const std::string& path, std::string_view bytes) {
  // Held open by a writer that keeps others out (an open settings file):
  // leave it alone. The guard itself is released before the rename, which
  // Windows refuses over a file that is open.
  {
    NativeFile guard;
    if (!guard.open(path, NativeFile::Access::ReadWriteHeld)) return false;
  }
  // The new bytes go to a file beside the target first, so a failed write
  // leaves the old file as it was.
  const std::string temp = path + ".tmp" + std::to_string(currentProcessId());
  NativeFile out;
  bool ok = out.open(temp, NativeFile::Access::CreateTruncate) &&
            out.writeAt(0, bytes.data(), bytes.size());
  ok = out.close() && ok;
  if (ok && renameReplacing(temp, path)) return true;
  const int err = errno;
  removeFile(temp);
  errno = err;
  return false;
}

bool makeFolders(const std::string& path) {
  for (std::size_t at = path.find_first_of("/\\", 1); at != std::string::npos;
       at = path.find_first_of("/\\", at + 1)) {
    if (path[at - 1] != ':' && path[at - 1] != '/' && path[at - 1] != '\\') makeFolder(path.substr(0, at));
  }
  return makeFolder(path);
}

}  // namespace kx
