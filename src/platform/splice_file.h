// Spliceable files: byte stores in which bytes can be deleted and inserted at
// any offset, the following bytes moving up or down. The configuration store
// mirrors every change of its document into one of these.
//
// Two kinds: DiskSpliceFile, an open file on disk kept closed to other writers
// (an advisory flock on Linux, read sharing only on Windows), and MemorySpliceFile, a growable buffer for
// the store's MemoryFile mode. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/native_file.h"

namespace kx {

class SpliceFile {
 public:
  virtual ~SpliceFile() = default;

  virtual bool isOpen() const = 0;

  // Length in bytes; 0 when closed.
  virtual std::uint64_t size() const = 0;

  // Replaces the `count` bytes at 0-based `offset` by `bytes`: the bytes
  // behind the replaced ones move so that they directly follow `bytes`.
  // Deleting (bytes empty), inserting (count 0) and appending (offset ==
  // size()) are special cases. Returns false, changing nothing, when the file
  // is closed or offset + count lies beyond the end. False after a failed
  // write too: a disk file then holds its old content (it is put back when
  // the platform allows; a memory file cannot fail).
  virtual bool splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) = 0;

  // Copies up to n bytes at offset into out. Returns the number copied: 0 at
  // or beyond the end, when closed, or on a read error.
  virtual std::size_t readAt(std::uint64_t offset, char* out, std::size_t n) const = 0;

  // Releases the file (and for a disk file its lock). Idempotent.
  virtual void close() = 0;

  // The whole content into out. Returns false (out then holds what was read)
  // on a read error or when closed.
  bool readAll(std::string& out) const;

  // Replaces the whole content by bytes: splice(0, size(), bytes).
  bool replaceAll(std::string_view bytes) { return splice(0, size(), bytes); }
};

// A file on disk, opened for reading and writing and held with an exclusive
// advisory lock, so that other writers that also lock (another instance of the
// program) are kept out while plain readers may still read it.
//
// A splice takes the fewest writes and never tears the file: the bytes from
// the offset on are read in blocks; when the file grows, its new length is
// set first (with the disk space allocated), so a full disk or a size limit
// stops the splice before anything changed; then the new bytes and the moved
// tail go to the file in one write at the offset; then, only when the file
// shrinks, the length is set. A failed write puts the old bytes back. A
// replacement of equal length is one write and nothing else.
class DiskSpliceFile final : public SpliceFile {
 public:
  ~DiskSpliceFile() override;
  DiskSpliceFile(const DiskSpliceFile&) = delete;
  DiskSpliceFile& operator=(const DiskSpliceFile&) = delete;

  // Opens path for reading and writing, creating it (mode 0666 before the
  // umask) when missing and never truncating it, then takes the lock without
  // waiting. Returns nullptr when the file cannot be opened or created (a
  // missing folder, a read-only file or medium) or another holder has the
  // lock; *error (when given) then receives the errno value (EWOULDBLOCK for
  // the lock).
  static std::unique_ptr<DiskSpliceFile> open(const std::string& path, int* error = nullptr);

  bool isOpen() const override { return file_.isOpen(); }
  std::uint64_t size() const override;
  bool splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) override;
  std::size_t readAt(std::uint64_t offset, char* out, std::size_t n) const override;
  void close() override;

  const std::string& path() const { return path_; }

  // Counters of the write and set-length calls made by splices, for tests
  // that check the fewest-writes rule. A write counts once however many
  // platform calls a short write needs.
  std::uint64_t writeCount() const { return writes_; }
  std::uint64_t resizeCount() const { return resizes_; }

 private:
  DiskSpliceFile(NativeFile file, std::string path) : file_(std::move(file)), path_(std::move(path)) {}

  NativeFile file_;
  const std::string path_;
  std::uint64_t writes_ = 0;
  std::uint64_t resizes_ = 0;
};

// A growable in-memory byte store; capacity grows in steps of 1024 bytes.
class MemorySpliceFile final : public SpliceFile {
 public:
  MemorySpliceFile() = default;
  explicit MemorySpliceFile(std::string_view initial);

  bool isOpen() const override { return open_; }
  std::uint64_t size() const override { return open_ ? bytes_.size() : 0; }
  bool splice(std::uint64_t offset, std::uint64_t count, std::string_view bytes) override;
  std::size_t readAt(std::uint64_t offset, char* out, std::size_t n) const override;
  void close() override;

  // The content (empty when closed).
  std::string_view content() const { return {bytes_.data(), bytes_.size()}; }
  std::size_t capacity() const { return bytes_.capacity(); }

 private:
  void reserveFor(std::size_t n);

  std::vector<char> bytes_;
  bool open_ = true;
};

}  // namespace kx
