// Conversion between code page 936 (GBK) byte strings and Unicode.
//
// Keywords, settings and exports stay GBK bytes everywhere in the program; this
// codec is used only at the edges: the terminal (UTF-8), file names on Linux
// (UTF-8), the regular-expression engine (UTF-16) and the window (QString).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kx {

// The code point of one GBK character: a lead byte 0x81..0xFE with a trail
// byte 0x40..0xFE, or a single byte (trail = -1). Returns U+FFFD for a pair the
// code page does not map and for a lone lead byte; 0x80 is the euro sign.
char32_t gbkCharToUnicode(unsigned char lead, int trail /* -1 when absent */);

// Decodes a whole GBK text; each unmapped pair becomes one U+FFFD, and a lead
// byte without a valid trail becomes U+FFFD while the next byte stays its own.
std::u16string gbkToUtf16(std::string_view gbk);
std::string gbkToUtf8(std::string_view gbk);

// Appends the UTF-16 form of gbk to out (out is not cleared), so that a caller
// converting many lines can reuse one buffer.
void appendGbkAsUtf16(std::string_view gbk, std::u16string& out);

// The GBK bytes of one code point, or 0 bytes when GBK cannot hold it.
// Returns the number of bytes written to out (0, 1 or 2).
int unicodeToGbk(char32_t cp, char out[2]);

// Encodes UTF-8 text as GBK. Returns nullopt when the text is not valid UTF-8
// or holds a character that GBK cannot hold; *badChar (when given) receives the
// first such character, or U+FFFD for malformed UTF-8.
std::optional<std::string> utf8ToGbk(std::string_view utf8, char32_t* badChar = nullptr);

// Encodes UTF-16 text as GBK, with the same failure rule as utf8ToGbk.
std::optional<std::string> utf16ToGbk(std::u16string_view utf16, char32_t* badChar = nullptr);

}  // namespace kx
