#include "search/match/regex/regex_class.h"

#include <algorithm>
#include <bitset>

namespace kx::regex {
namespace {

// The dialect's \s: ASCII white space, the Unicode space separators, the line
// and paragraph separators and the byte-order mark. PCRE2's own \s (without
// UCP) stops at ASCII.
constexpr std::u16string_view kSpaceClassBody =
    u"\\s\\x{a0}\\x{1680}\\x{2000}-\\x{200a}\\x{2028}\\x{2029}\\x{202f}\\x{205f}\\x{3000}\\x{feff}";

// One element of a character class: a single character or range, or one of
// the class escapes \d \D \s \S \w \W (escape != 0).
struct ClassAtom {
  char16_t ch = 0;
  char16_t escape = 0;
};

// Reads one class element after its first character was consumed as c.
ClassAtom parseClassAtom(PatternCursor& cursor, std::size_t start) {
  ClassAtom atom;
  char16_t c = cursor.take();
  if (c != u'\\') {
    atom.ch = c;
    return atom;
  }
  if (cursor.atEnd()) {
    cursor.fail("\\ at end of pattern", start);
    return atom;
  }
  c = cursor.peek();
  if (c == u'd' || c == u'D' || c == u'w' || c == u'W' || c == u's' || c == u'S') {
    cursor.advance();
    atom.escape = c;
  } else if (c == u'b') {
    cursor.advance();
    atom.ch = u'\b';
  } else if (isDigit(c)) {
    // No back-references inside a class: octal, or the digit itself.
    atom.ch = (c >= u'8') ? cursor.take() : cursor.parseOctal();
  } else if (c == u'c') {
    char16_t k = cursor.peek(1);
    if (isAsciiLetter(k) || isDigit(k) || k == u'_') {
      atom.ch = static_cast<char16_t>(k % 32);
      cursor.advance(2);
    } else {
      atom.ch = u'\\';
    }
  } else if (!cursor.parseCharacterEscape(&atom.ch)) {
    atom.ch = cursor.take();
  }
  return atom;
}

void appendClassRange(char16_t lo, char16_t hi, std::u16string& body) {
  // Surrogates never occur in converted text; PCRE2 rejects them in UTF mode.
  auto part = [&body](char16_t a, char16_t b) {
    if (a > b) return;
    appendHexEscape(a, body);
    if (b != a) {
      body += u'-';
      appendHexEscape(b, body);
    }
  };
  part(lo, std::min<char16_t>(hi, 0xD7FF));
  part(std::max<char16_t>(lo, 0xE000), hi);
}

// Adds the characters lo..hi to members, the class as the line-start
// shortcut sees it.
void collectClassMembers(char16_t lo, char16_t hi, LineStartCharacters& members) {
  for (char16_t c = lo; c <= std::min<char16_t>(hi, 0x7F); ++c) members.ascii.set(c);
  if (hi >= 0x80) members.nonAscii = true;
}


void appendClassAtom(const ClassAtom& atom, std::u16string& body, bool* hasNotSpace, LineStartCharacters& members) {
  if (atom.escape != 0) {
    collectClassEscape(atom.escape, members);
  } else {
    collectClassMembers(atom.ch, atom.ch, members);
  }
  if (atom.escape == u's') {
    body += kSpaceClassBody;
  } else if (atom.escape == u'S') {
    *hasNotSpace = true;
  } else if (atom.escape != 0) {
    body += u'\\';
    body += atom.escape;
  } else {
    appendClassRange(atom.ch, atom.ch, body);
  }
}

}  // namespace

bool parseClass(PatternCursor& cursor, std::size_t start, std::u16string& out, LineStartCharacters& members) {
  bool negated = false;
  if (cursor.peek() == u'^' && !cursor.atEnd()) {
    negated = true;
    cursor.advance();
  }
  std::u16string body;
  bool hasNotSpace = false;
  members.negated = negated;
  for (;;) {
    if (cursor.atEnd()) {
      cursor.fail("unterminated character class", start);
      return false;
    }
    if (cursor.peek() == u']') {
      cursor.advance();
      break;
    }
    ClassAtom first = parseClassAtom(cursor, start);
    if (cursor.failed()) return false;
    if (cursor.peek() == u'-' && cursor.hasAhead(1) && cursor.peek(1) != u']') {
      cursor.advance();
      ClassAtom second = parseClassAtom(cursor, start);
      if (cursor.failed()) return false;
      if (first.escape != 0 || second.escape != 0) {
        // A class escape cannot bound a range: the dash is a character.
        appendClassAtom(first, body, &hasNotSpace, members);
        appendClassRange(u'-', u'-', body);
        collectClassMembers(u'-', u'-', members);
        appendClassAtom(second, body, &hasNotSpace, members);
        continue;
      }
      if (first.ch > second.ch) {
        cursor.fail("range out of order in character class", start);
        return false;
      }
      appendClassRange(first.ch, second.ch, body);
      collectClassMembers(first.ch, second.ch, members);
      continue;
    }
    appendClassAtom(first, body, &hasNotSpace, members);
  }
  if (!hasNotSpace) {
    out += negated ? u"[^" : u"[";
    out += body;
    out += u']';
    return true;
  }
  // PCRE2 cannot put the complement of our \s inside a class; spell the
  // class as "in body or not a space" (or its negation).
  if (negated) {
    out += u"(?:(?![";
    out += body;
    out += u"])[";
    out += kSpaceClassBody;
    out += u"])";
  } else {
    out += u"(?:[";
    out += body;
    out += u"]|[^";
    out += kSpaceClassBody;
    out += u"])";
  }
  return false;  // spelled as a group, not listed
}

void appendSpaceClass(char16_t escape, std::u16string& out) {
  out += (escape == u's') ? u"[" : u"[^";
  out += kSpaceClassBody;
  out += u']';
}

void collectClassEscape(char16_t escape, LineStartCharacters& set) {
  std::bitset<128> members;
  for (int c = 0; c < 128; ++c) {
    const bool word = isAsciiLetter(static_cast<char16_t>(c)) || isDigit(static_cast<char16_t>(c)) || c == '_';
    const bool space = c == ' ' || (c >= '\t' && c <= '\r');
    const bool digit = isDigit(static_cast<char16_t>(c));
    const char16_t lower = static_cast<char16_t>(escape | 0x20);
    const bool in = lower == u'd' ? digit : lower == u'w' ? word : space;
    members[static_cast<std::size_t>(c)] = (escape == lower) ? in : !in;
  }
  set.ascii |= members;
  if (escape != u'd' && escape != u'w') set.nonAscii = true;  // \s, \D, \W reach beyond ASCII
}

}  // namespace kx::regex
