// The export file format shared by search-and-export and the list export:
// every keyword's bytes unchanged, each followed by CR LF, no header, no BOM.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/native_file.h"
#include "search/run/result_sink.h"

namespace kx {

class FileSink : public ResultSink {
 public:
  FileSink() = default;
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Creates path, or cuts an existing file to length 0. Returns false when the
  // file cannot be created; errorText() then says why.
  bool open(const std::string& path);
  bool isOpen() const { return file_.isOpen(); }

  // Writes keyword + CR LF. Output is gathered in a buffer of a few hundred
  // KiB and written through at every flush and close, so a stopped or ended
  // run leaves every match in the file. After a write error further keywords
  // are dropped and counted nowhere.
  void add(std::string_view keyword) override;
  void addLines(std::string_view lines, long count) override;

  // Writes the buffer through. Returns false once any write has failed.
  bool flush();

  // Flushes and closes. Returns false when a write or the close failed.
  bool close();

  // Keywords known to be in the file (written through), and whether a write failed.
  std::uint64_t written() const { return written_; }
  bool failed() const { return errno_ != 0; }
  // The system's text for the first failure, empty when none.
  std::string errorText() const;

 private:
  // Writes bytes, which hold `keywords` whole keywords; on failure records the
  // error and counts the keywords that reached the file whole.
  bool writeThrough(std::string_view bytes, std::uint64_t keywords);

  NativeFile file_;
  std::uint64_t offset_ = 0;  // where the next write goes
  int errno_ = 0;
  std::string buf_;
  std::uint64_t pending_ = 0;  // keywords in buf_
  std::uint64_t written_ = 0;
};

}  // namespace kx
