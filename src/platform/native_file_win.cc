// NativeFile and the folder functions of file_util.h on Windows: Win32 calls
// with UTF-16 paths, so folders with Chinese names or spaces work.
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/file_util.h"
#include "platform/native_file.h"
#include "platform/wide_text.h"

namespace kx {
namespace {

HANDLE handleOf(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

// Leaves errno at the nearest value to the thread's last Win32 error.
void setErrnoFromWin32() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: errno = EACCES; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: errno = EWOULDBLOCK; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: errno = ENOSPC; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    case ERROR_DIRECTORY: errno = EISDIR; break;
    default: errno = EIO; break;
  }
}

// One ReadFile/WriteFile moves at most this much, as DWORD counts require.
constexpr std::size_t kMaxStep = 1u << 30;

OVERLAPPED at(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

}  // namespace

bool NativeFile::open(const std::string& path, Access access) {
  close();
  DWORD rights = GENERIC_READ;
  DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  DWORD disposition = OPEN_EXISTING;
  switch (access) {
    case Access::Read: break;
    case Access::CreateTruncate:
      rights = GENERIC_WRITE;
      disposition = CREATE_ALWAYS;
      break;
    case Access::ReadWriteShared:
      rights = GENERIC_READ | GENERIC_WRITE;
      disposition = OPEN_ALWAYS;
      break;
    case Access::ReadWriteHeld:
      rights = GENERIC_READ | GENERIC_WRITE;
      share = FILE_SHARE_READ;  // others may read, none may write
      disposition = OPEN_ALWAYS;
      break;
  }
  HANDLE h = ::CreateFileW(toWide(path).c_str(), rights, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    setErrnoFromWin32();
    if (errno == EACCES && isFolder(path)) errno = EISDIR;
    return false;
  }
  // Exports may go to a device or a pipe; everything else needs a plain file.
  if (access != Access::CreateTruncate && ::GetFileType(h) != FILE_TYPE_DISK) {
    ::CloseHandle(h);
    errno = EINVAL;
    return false;
  }
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return true;
}

bool NativeFile::close() {
  if (handle_ == kClosed) return true;
  HANDLE h = handleOf(handle_);
  handle_ = kClosed;
  if (::CloseHandle(h)) return true;
  setErrnoFromWin32();
  return false;
}

bool NativeFile::size(std::uint64_t& out) const {
  if (handle_ == kClosed) return false;
  LARGE_INTEGER n{};
  if (!::GetFileSizeEx(handleOf(handle_), &n)) {
    setErrnoFromWin32();
    return false;
  }
  out = static_cast<std::uint64_t>(n.QuadPart);
  return true;
}

std::size_t NativeFile::readAt(std::uint64_t offset, void* out, std::size_t n) const {
  if (handle_ == kClosed) return 0;
  auto* p = static_cast<char*>(out);
  std::size_t got = 0;
  while (got < n) {
    OVERLAPPED o = at(offset + got);
    DWORD step = 0;
    const DWORD want = static_cast<DWORD>(std::min(n - got, kMaxStep));
    if (!::ReadFile(handleOf(handle_), p + got, want, &step, &o)) {
      if (::GetLastError() != ERROR_HANDLE_EOF) setErrnoFromWin32();
      break;
    }
    if (step == 0) break;
    got += step;
  }
  return got;
}

bool NativeFile::writeAt(std::uint64_t offset, const void* data, std::size_t n, std::size_t* written) {
  if (written) *written = 0;
  if (handle_ == kClosed) return false;
  const auto* p = static_cast<const char*>(data);
  while (n > 0) {
    OVERLAPPED o = at(offset);
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(std::min(n, kMaxStep));
    if (!::WriteFile(handleOf(handle_), p, want, &put, &o)) {
      setErrnoFromWin32();
      return false;
    }
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    p += put;
    n -= put;
    offset += put;
    if (written) *written += put;
  }
  return true;
}

bool NativeFile::resize(std::uint64_t length) {
  std::uint64_t now = 0;
  if (!size(now)) return false;
  // SetEndOfFile allocates the clusters of an extension, so a full disk
  // fails here rather than at a later write.
  FILE_END_OF_FILE_INFO info{};
  info.EndOfFile.QuadPart = static_cast<LONGLONG>(length);
  if (::SetFileInformationByHandle(handleOf(handle_), FileEndOfFileInfo, &info, sizeof info)) {
    return true;
  }
  setErrnoFromWin32();
  const int err = errno;
  if (length > now) {
    info.EndOfFile.QuadPart = static_cast<LONGLONG>(now);
    ::SetFileInformationByHandle(handleOf(handle_), FileEndOfFileInfo, &info, sizeof info);
  }
  errno = err;
  return false;
}

bool renameReplacing(const std::string& from, const std::string& to) {
  if (::MoveFileExW(toWide(from).c_str(), toWide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  setErrnoFromWin32();
  return false;
}

bool removeFile(const std::string& path) {
  if (::DeleteFileW(toWide(path).c_str())) return true;
  setErrnoFromWin32();
  return false;
}

long currentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool makeFolder(const std::string& path) {
  if (::CreateDirectoryW(toWide(path).c_str(), nullptr)) return true;
  return isFolder(path);
}

std::FILE* openStdioFile(const std::string& path, const char* mode) {
  return ::_wfopen(toWide(path).c_str(), toWide(mode).c_str());
}

bool fileExists(const std::string& path) {
  return ::GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string& path) {
  DWORD a = ::GetFileAttributesW(toWide(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string executableFolder() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  return std::string(parentFolder(fromWide(buf)));
}

}  // namespace kx
