// Lists of words, one a line, that a batch search reads: its queries (root
// words) and the words to leave out.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx::cli {

enum class ListEncoding { Utf8, Gbk };

struct WordList {
  std::vector<std::string> words;      // GBK, in the file's order, distinct, none empty
  std::vector<int> lineNumbers;        // where each word stands in the file, from 1
  std::vector<std::string> skipped;    // a message for every line left out, naming its line number
};

// Reads the list at path ("-" is standard input). Lines end in LF or CR LF;
// a UTF-8 byte-order mark before the first line is dropped; empty lines and
// repeats of an earlier line are passed over; a line GBK cannot hold (or, for
// a GBK file, a line that is not GBK) is left out with a message. Returns
// nullopt when the file cannot be read, with *error saying why.
std::optional<WordList> readWordList(const std::string& path, ListEncoding encoding, std::string* error);

}  // namespace kx::cli
