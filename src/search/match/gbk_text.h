// GBK text measures. A character is what the forward scan counts: a byte of
// 0x80 or more together with the byte after it, CR LF as one, a lone CR or LF
// as one, any other byte as one. Positions and counts are 1-based; results
// are views into the argument and live as long as it does.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kx {

// Number of characters of text. A lead byte left pending at the end is not counted.
int charCount(std::string_view text);

// The first n characters; empty for n <= 0, the whole text when it is shorter.
std::string_view leftChars(std::string_view text, int n);

// The last n characters, on the forward scan's boundaries; empty for n <= 0,
// the whole text when it is shorter.
std::string_view rightChars(std::string_view text, int n);

// Characters start .. start+count-1; empty when start lies beyond the last
// character or count <= 0; runs to the end when fewer remain.
std::string_view midChars(std::string_view text, int start, int count);

// 1-based byte position of the first occurrence of needle that begins on a
// character boundary of haystack (stepping a byte of 0x80 or more and its
// partner together), or -1. An empty needle is found at 1 in a non-empty haystack.
int findText(std::string_view haystack, std::string_view needle);

// Sets starts[p] to stamp (for p in 0 .. text.size() - 1) exactly where
// findText(text, ...) would try a needle, so that byte matches found
// otherwise can be checked against the characters of text; other entries
// keep what they held, so a caller that changes stamp between texts never
// clears the vector. starts grows as needed.
void markFindStarts(std::string_view text, std::uint32_t stamp, std::vector<std::uint32_t>& starts);

// Plain-mode predicates over a keyword; n is charCount(query), computed once per run.
bool matchLeft(std::string_view keyword, std::string_view query, int n);
bool matchMiddle(std::string_view keyword, std::string_view query);
bool matchRight(std::string_view keyword, std::string_view query, int n);

}  // namespace kx
