// The reading position in a pattern of the ECMAScript-style dialect, the
// first error seen, and the escapes that read the same inside and outside
// character classes. Shared by the parts of the translator.
#pragma once

#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>

namespace kx::regex {

constexpr long kQuantifierMax = 65535;  // PCRE2's largest repeat count
constexpr long kUnbounded = -1;

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
inline bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Appends c as PCRE2's \x{...}.
void appendHexEscape(char32_t c, std::u16string& out);
// Appends ASCII text code unit by code unit.
void appendAscii(std::string_view text, std::u16string& out);

class PatternCursor {
 public:
  // source must outlive the cursor.
  explicit PatternCursor(std::u16string_view source) : src_(source) {}

  std::u16string_view source() const { return src_; }
  std::size_t pos() const { return pos_; }
  void setPos(std::size_t pos) { pos_ = pos; }
  void advance(std::size_t n = 1) { pos_ += n; }
  // The code unit at pos and moves past it; the caller checks atEnd first.
  char16_t take() { return src_[pos_++]; }

  bool atEnd() const { return pos_ >= src_.size(); }
  // The code unit ahead of pos, or 0 past the end.
  char16_t peek(std::size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : 0; }
  bool hasAhead(std::size_t ahead) const { return pos_ + ahead < src_.size(); }

  // Records the first error only: what went wrong and its source offset.
  // unsupported marks a construct the dialect allows but PCRE2 cannot run.
  void fail(const char* message, std::size_t offset, bool unsupported = false);
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }
  std::size_t errorOffset() const { return errorOffset_; }
  bool unsupported() const { return unsupported_; }

  // Reads {n}, {n,} or {n,m} at pos; on success moves past it and returns
  // true (hi is kUnbounded for {n,}). A brace that does not start one of
  // these is an ordinary character: false, pos unchanged.
  bool scanBraces(std::int64_t* lo, std::int64_t* hi);

  // Legacy octal escape at pos: up to three octal digits, value at most 0377.
  char16_t parseOctal();

  // Character escapes shared by atoms and classes (pos is past the backslash
  // and at the escape letter). Returns false when the escape is not one of
  // them, leaving pos unchanged.
  bool parseCharacterEscape(char16_t* out);

 private:
  const std::u16string_view src_;
  std::size_t pos_ = 0;
  std::string error_;
  std::size_t errorOffset_ = 0;
  bool unsupported_ = false;
};

}  // namespace kx::regex
