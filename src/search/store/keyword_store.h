// The keyword store: 2 x 27 enciphered letter files beside the executable,
// opened once, and the count table read from the counts file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cipher_file.h"

namespace kx {

enum class KeywordCategory : int { ProductWords = 0, StoreWords = 1 };

// LetterIndex: 1..26 "A".."Z", 27 "0-9", 28 "all".
inline constexpr int kLetterFileCount = 27;
inline constexpr int kDigitsIndex = 27;
inline constexpr int kAllIndex = 28;

// The folder of a category, "商品词" or "店铺词" (UTF-8, for file names).
std::string_view categoryFolder(KeywordCategory category);

// The name of letter index 1..27 as the selector shows it: "A".."Z", "0-9".
std::string letterIndexName(int index);

// Bijective base-26 name of n: 1 "A", 26 "Z", 27 "AA", 703 "AAA"; empty for
// n <= 0. With lowerCase the letters are "a".."z".
std::string letterName(long long n, bool lowerCase = false);

// One open letter file, read as lines. Reading deciphers large blocks; a line
// may be of any length and a double-byte character is never split. Searches
// read it in blocks on several threads (see file_blocks.h).
class LetterFile {
 public:
  LetterFile() = default;
  LetterFile(const LetterFile&) = delete;
  LetterFile& operator=(const LetterFile&) = delete;

  // Opens path with password; false leaves the file closed (an empty slot).
  bool open(const std::string& path, std::string_view password);
  bool isOpen() const { return file_.isOpen(); }

  // Moves the read position to the first byte.
  void rewind();

  // True when every byte has been handed out by readLine.
  bool atEnd() const;

  // The next line without its LF and without one CR directly before it. The
  // view stays valid until the next read or rewind. At the end of a file
  // without a final LF the rest is the last line; at the end, empty.
  std::string_view readLine();

  // Plain length of the file in bytes.
  std::uint64_t length() const { return file_.length(); }

  // Reads up to n plain bytes at pos through cursor, as CipherFile::readAt
  // does: the read position stays, and several threads may read at once.
  std::size_t readAt(std::uint64_t pos, char* out, std::size_t n, CipherFile::Cursor& cursor) const {
    return file_.readAt(pos, out, n, cursor);
  }

 private:
  bool fill();  // moves the unread tail to the front and appends a new block

  CipherFile file_;
  std::vector<char> buf_;
  std::size_t begin_ = 0;  // first unread byte in buf_
  std::size_t end_ = 0;    // one past the last deciphered byte in buf_
};

// The same operations on a slot, where an empty slot (nullptr) reads as a file
// with no lines: atEnd is true and readLine returns the empty text.
void rewind(LetterFile* file);
bool atEnd(const LetterFile* file);
std::string_view readLine(LetterFile* file);

class KeywordStore {
 public:
  KeywordStore();

  // Opens the 54 letter files under runDir (runDir/商品词/A.txt ...) with the
  // store password, built afresh before each file. A file that is missing or
  // does not open leaves its slot empty; nothing is reported. onLetterName,
  // when given, receives the 28 letter-selector entries in order ("A".."Z",
  // "0-9", "all").
  void openStore(const std::string& runDir,
                 const std::function<void(const std::string&)>& onLetterName = {});

  // The open letter file of (category, index 1..27), or nullptr for an empty
  // slot or an index out of range.
  LetterFile* letterFile(KeywordCategory category, int index);

  // Closes every letter file; their slots read as empty afterwards.
  void closeAll();

  // The stored count of (category, index 1..28); 0 until counts are loaded or
  // for an index out of range.
  std::int32_t keywordCount(KeywordCategory category, int index) const;
  void setKeywordCount(KeywordCategory category, int index, std::int32_t count);

 private:
  std::array<std::array<std::unique_ptr<LetterFile>, kLetterFileCount + 1>, 2> files_;
  std::array<std::array<std::int32_t, kAllIndex + 1>, 2> counts_{};
};

}  // namespace kx
