// Fast GBK-to-UTF-16 conversion of keywords for the regex engine. Gives the
// same code units as appendGbkAsUtf16, from one flat table and into one
// reused buffer, since a search converts millions of short lines.
#pragma once

#include <string_view>
#include <vector>

namespace kx {

class Utf16Subject {
 public:
  Utf16Subject();

  // The UTF-16 form of gbk; valid until the next convert. Allocates only
  // when gbk is longer than every text converted before. Its data is never
  // null, not even for empty text: PCRE2 refuses a null subject.
  std::u16string_view convert(std::string_view gbk);

  // The code unit convert would give first; gbk must not be empty.
  char16_t firstUnit(std::string_view gbk) const;

 private:
  struct Tables;
  static const Tables& tables();

  const Tables& tables_;
  std::vector<char16_t> buffer_;
};

}  // namespace kx
