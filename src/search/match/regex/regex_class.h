// Character classes of the dialect: bracket classes and the class escapes
// \d \D \s \S \w \W, written as PCRE2 classes of the same members, and their
// ASCII members as the line-start shortcut sees them.
#pragma once

#include <string>

#include "search/match/regex/regex_cursor.h"
#include "search/match/regex/regex_translator.h"

namespace kx::regex {

// Parses a bracket class with cursor just past its '[', appends its PCRE2
// form to out and collects its members; returns false when the members
// cannot be listed that way (the class is then still translated).
bool parseClass(PatternCursor& cursor, std::size_t start, std::u16string& out, LineStartCharacters& members);

// Appends the PCRE2 form of the class escape \s or \S outside a class.
void appendSpaceClass(char16_t escape, std::u16string& out);

// Adds the members of the class escape (d, D, w, W, s or S) to set.
void collectClassEscape(char16_t escape, LineStartCharacters& set);

}  // namespace kx::regex
