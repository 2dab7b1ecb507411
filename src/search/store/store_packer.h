// Builds the letter files of one category from keywords: each keyword goes
// to the letter of its first character, in the order given.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cipher_file.h"
#include "search/store/keyword_store.h"

namespace kx {

// The letter index 1..27 of a keyword's first character: the pinyin initial of
// a Chinese character, a Latin letter upper-cased, a digit "0-9". 0 when that
// character has no letter (a symbol, a radical, a full-width form...).
int partitionLetter(std::string_view keyword);

// Where a keyword without a letter of its own goes: the letter of the first
// character that has one, else "0-9". Left searches by a first symbol on
// "all" still find it there.
int placementLetter(std::string_view keyword);

class StorePacker {
 public:
  // Creates runDir/<category folder>/ and its 27 letter files (truncating
  // old ones). Check ok() afterwards; errorPath() names the file that failed.
  StorePacker(const std::string& runDir, KeywordCategory category);
  ~StorePacker();

  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }

  // Appends keyword (GBK, without line end) to its letter file. Keywords
  // without a letter of their own are placed by placementLetter and counted.
  void add(std::string_view keyword);

  // Writes out every file. Returns false on a write error (see error()).
  bool finish();

  // Keywords per letter index 1..27, and their sum at 28.
  const std::array<std::int64_t, kAllIndex + 1>& counts() const { return counts_; }
  // Keywords placed by the fallback rule, and the first few of them.
  std::int64_t placedByRule() const { return placedByRule_; }
  const std::vector<std::string>& placedExamples() const { return placedExamples_; }

 private:
  struct Letter {
    CipherWriter writer;
    std::string pending;
    std::string path;
  };
  bool flushLetter(Letter& letter);

  std::array<std::unique_ptr<Letter>, kLetterFileCount + 1> letters_;
  std::array<std::int64_t, kAllIndex + 1> counts_{};
  std::int64_t placedByRule_ = 0;
  std::vector<std::string> placedExamples_;
  std::string error_;
};

}  // namespace kx
