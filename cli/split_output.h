// --split DIR: one export file per query of a batch, and an index naming the
// query of every file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kx::cli {

// File names for queries (UTF-8), one each, in order: the query with every
// character that Windows or a shell handles badly (control characters,
// < > : " / \ | ? * and spaces) made '_', a leading dot or a name Windows
// reserves (CON, NUL, COM1 ...) prefixed with '_', cut to 100 bytes, and
// "~2", "~3" ... added where two names would be the same file on a file
// system that ignores letter case. Each ends in ".txt".
std::vector<std::string> splitFileNames(const std::vector<std::string>& queries);

class SplitOutput {
 public:
  // Creates dir and an empty export file for each query (GBK texts, UTF-8
  // labels for the names). Returns false with *error set when it cannot.
  bool open(const std::string& dir, const std::vector<std::string>& gbkQueries,
            const std::vector<std::string>& utf8Queries, std::string* error);

  // Adds keyword to the file of every query in ids. Output is gathered in
  // memory and the largest gatherings are appended to their files whenever
  // the whole passes a few MiB, so a run of ten thousand queries keeps no
  // file open.
  void add(std::string_view keyword, std::span<const std::uint32_t> ids);

  // Writes what is gathered and "index.tsv" (GBK, CR LF: file, query and its
  // count per line, after a heading). Returns false with *error set when a
  // write failed.
  bool finish(const std::vector<std::int64_t>& counts, std::string* error);

  static constexpr std::size_t kGatherBytes = 8 << 20;

 private:
  bool flush();
  void flushLargest();
  bool append(const std::string& name, std::string_view bytes);

  std::string dir_;
  std::vector<std::string> names_;
  std::vector<std::string> queries_;  // GBK
  std::vector<std::string> pending_;  // per query, in the export format
  std::size_t pendingBytes_ = 0;
  std::string error_;
};

}  // namespace kx::cli
