// The platform's own file calls behind one small interface: a POSIX
// descriptor on Linux, a Win32 HANDLE opened with a UTF-16 path on Windows.
// Everything above this layer is the same on both. Paths are UTF-8.
//
// Errors: a failing call returns false (or 0 bytes) and leaves errno set; a
// Win32 error is mapped to the nearest errno value (ENOENT, EACCES,
// EWOULDBLOCK for a file held by another writer, ENOSPC, EIO otherwise), so
// messages come from strerror on both platforms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

class NativeFile {
 public:
  enum class Access {
    Read,             // existing file, reading; other writers allowed
    CreateTruncate,   // writing, created or emptied
    ReadWriteShared,  // reading and writing, created when missing, never emptied
    ReadWriteHeld,    // the same, and other writers are kept out: an exclusive
                      // advisory lock taken without waiting (Linux), or read
                      // sharing only (Windows); EWOULDBLOCK when held elsewhere
  };

  NativeFile() = default;
  ~NativeFile() { close(); }
  NativeFile(const NativeFile&) = delete;
  NativeFile& operator=(const NativeFile&) = delete;
  NativeFile(NativeFile&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
  NativeFile& operator=(NativeFile&& other) noexcept {
    if (this != &other) {
      close();
      handle_ = other.handle_;
      other.handle_ = kClosed;
    }
    return *this;
  }

  // Opens path; a folder is refused (EISDIR), and so is any other file that
  // is not a plain one, except for CreateTruncate (a device or pipe). Returns false and stays closed on failure.
  bool open(const std::string& path, Access access);
  bool isOpen() const { return handle_ != kClosed; }

  // Closes the file (and releases its lock). Returns false when the platform
  // reports a failure of the last writes; closing a closed file is true.
  bool close();

  // Current length in bytes; false when closed or on error.
  bool size(std::uint64_t& out) const;

  // Reads up to n bytes at offset. Returns the number read: fewer than n only
  // at the end of the file, 0 at or past the end, when closed, or on error.
  std::size_t readAt(std::uint64_t offset, void* out, std::size_t n) const;

  // Reads exactly n bytes at offset; false on a short read or error.
  bool readFullyAt(std::uint64_t offset, void* out, std::size_t n) const {
    return readAt(offset, out, n) == n;
  }

  // Writes all n bytes at offset, growing the file as needed. Returns false
  // when any byte could not be written; the file may then hold the first
  // *written of them (when written is given).
  bool writeAt(std::uint64_t offset, const void* data, std::size_t n, std::size_t* written = nullptr);

  // Sets the length: cuts the file, or extends it with zero bytes whose disk
  // space is allocated now, so that writes below the new length cannot fail
  // for want of space. A failed extension leaves the old length.
  bool resize(std::uint64_t length);

  // The descriptor or HANDLE value, for diagnostics only.
  std::intptr_t nativeHandle() const { return handle_; }

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

// Renames from over to, replacing an existing file in one step as far as the
// platform allows. False (errno set) when to is held open by a writer that
// keeps others out, or on any other failure; from then still exists.
bool renameReplacing(const std::string& from, const std::string& to);

// Removes a file; false when it could not be removed.
bool removeFile(const std::string& path);

// The running process's id, for names of temporary files.
long currentProcessId();

}  // namespace kx
