// Rewrites a pattern of the ECMAScript-style dialect the search modes accept
// (the legacy, non-Unicode dialect of web browsers: identity escapes, octal
// escapes, literal braces) into PCRE2 syntax of the same meaning, so that
// PCRE2's own dialect (\A, \Q, (?i), possessive quantifiers, POSIX classes...)
// never leaks into the user's pattern. It also finds the literal text every
// match must contain, which lets a search skip lines cheaply.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx {

// The characters a match can begin with, for a pattern that starts with ^
// followed by one character or class that must occur at least once.
struct LineStartCharacters {
  std::bitset<128> ascii;  // ASCII members, before any case folding
  bool nonAscii = false;   // some character at or above U+0080 is a member
  bool negated = false;    // the members are what the class excludes
};

struct TranslatedRegex {
  // The PCRE2 pattern (UTF-16), to be compiled with PCRE2_UTF,
  // PCRE2_MATCH_UNSET_BACKREF, PCRE2_ALLOW_EMPTY_CLASS and a CR/LF newline
  // convention. Empty when error is set.
  std::u16string pcre;
  // Runs of literal characters at the top level of a pattern without
  // top-level alternation; every match contains each of them exactly (up to
  // case when matching ignores case). Empty when none is certain.
  std::vector<std::u16string> requiredRuns;
  // Set when every match begins at a line start with one of these characters.
  std::optional<LineStartCharacters> lineStart;
  // Set when the pattern holds a lookaround or a back-reference, where
  // PCRE2 10.42's own start-of-match shortcuts are known to miss matches
  // (for example (?=(a|b){0})[^a](?<=x)2 and ((?=B))\1b ignoring case).
  bool lookaroundOrReference = false;
  // Why the pattern is not valid in the dialect, and the 0-based offset (in
  // UTF-16 code units of the source) where the problem was seen.
  std::string error;
  std::size_t errorOffset = 0;
  // Set with error when the pattern is valid in the dialect but uses what
  // PCRE2 cannot run (a repeat count over 65535).
  bool unsupported = false;
  // (offset in pcre, offset in source) at the start of every term, ascending.
  std::vector<std::pair<std::size_t, std::size_t>> sourceOffsets;

  // The source offset of the term that produced pcre[pcreOffset], so that an
  // error PCRE2 reports can point into the pattern the user wrote.
  std::size_t sourceOffsetOf(std::size_t pcreOffset) const;
};

// Translates source, a pattern in UTF-16 code units as the dialect reads it.
TranslatedRegex translateRegex(std::u16string_view source);

}  // namespace kx
