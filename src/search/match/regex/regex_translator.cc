#include "search/match/regex/regex_translator.h"

#include <algorithm>
#include <cstdio>

namespace kx {
namespace {

constexpr long kQuantifierMax = 65535;  // PCRE2's largest repeat count
constexpr long kUnbounded = -1;
constexpr int kMaxGroupDepth = 250;  // PCRE2's default nesting limit

// The dialect's \s: ASCII white space, the Unicode space separators, the line
// and paragraph separators and the byte-order mark. PCRE2's own \s (without
// UCP) stops at ASCII.
constexpr std::u16string_view kSpaceClassBody =
    u"\\s\\x{a0}\\x{1680}\\x{2000}-\\x{200a}\\x{2028}\\x{2029}\\x{202f}\\x{205f}\\x{3000}\\x{feff}";

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOctal(char16_t c) { return c >= u'0' && c <= u'7'; }
bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

int hexValue(char16_t c) {
  if (isDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

void appendHexEscape(char32_t c, std::u16string& out) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\\x{%x}", static_cast<unsigned>(c));
  for (const char* p = buf; *p; ++p) out += static_cast<char16_t>(*p);
}

void appendAscii(std::string_view text, std::u16string& out) {
  for (char c : text) out += static_cast<char16_t>(c);
}

// One element of a character class: a single character or range, or one of
// the class escapes \d \D \s \S \w \W (escape != 0).
struct ClassAtom {
  char16_t ch = 0;
  char16_t escape = 0;
};

class Translator {
 public:
  explicit Translator(std::u16string_view source) : src_(source) {}

  TranslatedRegex run() {
    prescanGroups();
    parseDisjunction(0);
    TranslatedRegex result;
    if (!error_.empty()) {
      result.error = error_;
      result.errorOffset = errorOffset_;
      result.unsupported = unsupported_;
      return result;
    }
    endRun();
    result.pcre = std::move(out_);
    result.sourceOffsets = std::move(offsets_);
    result.lookaroundOrReference = lookaroundOrReference_;
    if (!topLevelAlternation_) {
      result.requiredRuns = std::move(runs_);
      result.lineStart = lineStart_;
    }
    return result;
  }

 private:
  bool atEnd() const { return pos_ >= src_.size(); }
  char16_t peek(std::size_t ahead = 0) const { return pos_ + ahead < src_.size() ? src_[pos_ + ahead] : 0; }
  bool hasAhead(std::size_t ahead) const { return pos_ + ahead < src_.size(); }
  bool failed() const { return !error_.empty(); }

  void fail(const char* message, std::size_t offset) {
    if (!failed()) {
      error_ = message;
      errorOffset_ = offset;
    }
  }

  // Capture groups are numbered by their opening parenthesis; whether \N is a
  // back-reference depends on how many the whole pattern holds, and \k is a
  // named reference only when some group has a name.
  void prescanGroups() {
    bool inClass = false;
    for (std::size_t i = 0; i < src_.size(); ++i) {
      char16_t c = src_[i];
      if (c == u'\\') {
        ++i;
      } else if (inClass) {
        if (c == u']') inClass = false;
      } else if (c == u'[') {
        inClass = true;
      } else if (c == u'(') {
        if (i + 1 < src_.size() && src_[i + 1] == u'?') {
          if (i + 2 < src_.size() && src_[i + 2] == u'<' && i + 3 < src_.size() && src_[i + 3] != u'=' &&
              src_[i + 3] != u'!') {
            ++groupCount_;
            std::size_t close = src_.find(u'>', i + 3);
            if (close != std::u16string_view::npos) {
              prescanNames_.emplace_back(src_.substr(i + 3, close - i - 3), groupCount_);
            }
            hasNamedGroups_ = true;
          }
        } else {
          ++groupCount_;
        }
      }
    }
  }

  void parseDisjunction(int depth) {
    for (;;) {
      parseAlternative(depth);
      if (failed() || atEnd() || peek() != u'|') return;
      if (depth == 0) topLevelAlternation_ = true;
      ++pos_;
      out_ += u'|';
    }
  }

  void parseAlternative(int depth) {
    while (!failed() && !atEnd()) {
      char16_t c = peek();
      if (c == u'|') return;
      if (c == u')') {
        if (depth == 0) fail("unmatched ')'", pos_);
        return;
      }
      parseTerm(depth);
    }
  }

  // What an atom turned out to be, for quantifier and fast-path decisions.
  enum class AtomKind { Literal, Class, LineStart, Assertion, Lookahead, Other };

  struct Atom {
    Atom() = default;
    explicit Atom(AtomKind k, char16_t c = 0) : kind(k), literal(c) {}
    AtomKind kind = AtomKind::Other;
    char16_t literal = 0;  // the character of a Literal
    // The members of a Class (a bracket class or a class escape), when they
    // can be listed exactly.
    std::optional<LineStartCharacters> members;
  };

  void parseTerm(int depth) {
    const std::size_t start = pos_;
    offsets_.emplace_back(out_.size(), start);
    const Atom atom = parseAtom(depth);
    if (failed()) return;
    const std::optional<long> minRepeat = parseQuantifier(atom.kind, start);
    if (depth != 0) return;
    noteLineStart(atom, minRepeat);
    if (atom.kind == AtomKind::Literal && !minRepeat) {
      run_ += atom.literal;
    } else {
      endRun();
    }
  }

  // Follows the first two top-level terms: when they are ^ and then one
  // character or listable class that must occur at least once, every match
  // starts with one of its members. Any other term gives up.
  void noteLineStart(const Atom& atom, std::optional<long> minRepeat) {
    const int term = topLevelTerms_++;
    if (term == 0) {
      startsWithCaret_ = atom.kind == AtomKind::LineStart;
      return;
    }
    if (term != 1 || !startsWithCaret_ || (minRepeat && *minRepeat < 1)) return;
    if (atom.kind == AtomKind::Literal) {
      LineStartCharacters set;
      if (atom.literal < 0x80) set.ascii.set(atom.literal);
      set.nonAscii = atom.literal >= 0x80;
      lineStart_ = set;
    } else if (atom.kind == AtomKind::Class) {
      lineStart_ = atom.members;
    }
  }

  void endRun() {
    if (!run_.empty()) runs_.push_back(std::move(run_));
    run_.clear();
  }

  Atom literalAtom(char16_t c) {
    emitLiteral(c);
    return Atom(AtomKind::Literal, c);
  }

  Atom parseAtom(int depth) {
    const std::size_t start = pos_;
    char16_t c = src_[pos_++];
    switch (c) {
      case u'^':
        out_ += c;
        return Atom(AtomKind::LineStart);
      case u'$':
        out_ += c;
        return Atom(AtomKind::Assertion);
      case u'.':
        out_ += c;
        return {};
      case u'*':
      case u'+':
      case u'?':
        fail("nothing to repeat", start);
        return {};
      case u'{': {
        long lo = 0, hi = 0;
        pos_ = start;
        if (scanBraces(&lo, &hi)) {
          fail("nothing to repeat", start);
          return {};
        }
        pos_ = start + 1;  // a brace that opens no quantifier is a character
        return literalAtom(c);
      }
      case u'(':
        return Atom(parseGroup(depth, start));
      case u'[': {
        Atom atom(AtomKind::Class);
        atom.members.emplace();
        if (!parseClass(start, *atom.members)) atom.members.reset();
        return atom;
      }
      case u'\\':
        return parseAtomEscape(start);
      default:
        return literalAtom(c);
    }
  }

  AtomKind parseGroup(int depth, std::size_t start) {
    // Bounds the parser's recursion; PCRE2 would refuse deeper nesting anyway.
    if (depth >= kMaxGroupDepth) {
      fail("parentheses are too deeply nested", start);
      return AtomKind::Other;
    }
    AtomKind kind = AtomKind::Other;
    if (peek() == u'?') {
      char16_t k = peek(1);
      if (k == u':' || k == u'=' || k == u'!') {
        out_ += u"(?";
        out_ += k;
        pos_ += 2;
        if (k != u':') {
          kind = AtomKind::Lookahead;
          lookaroundOrReference_ = true;
        }
      } else if (k == u'<' && (peek(2) == u'=' || peek(2) == u'!')) {
        out_ += u"(?<";
        out_ += peek(2);
        pos_ += 3;
        kind = AtomKind::Assertion;  // a lookbehind takes no quantifier
        lookaroundOrReference_ = true;
      } else if (k == u'<') {
        pos_ += 2;
        parseGroupName(start);
        if (failed()) return AtomKind::Other;
        out_ += u'(';
      } else {
        fail("invalid group", start);
        return AtomKind::Other;
      }
    } else {
      out_ += u'(';
    }
    parseDisjunction(depth + 1);
    if (failed()) return AtomKind::Other;
    if (atEnd()) {
      fail("unterminated group", start);
      return AtomKind::Other;
    }
    ++pos_;  // ')'
    out_ += u')';
    return kind;
  }

  // Reads "name>" of a named group; names become plain numbers in the output.
  void parseGroupName(std::size_t start) {
    std::u16string name;
    while (!atEnd() && peek() != u'>') {
      char16_t c = peek();
      bool ok = isAsciiLetter(c) || c == u'_' || c == u'$' || c >= 0x80 || (isDigit(c) && !name.empty());
      if (!ok) break;
      name += c;
      ++pos_;
    }
    if (name.empty() || atEnd() || peek() != u'>') {
      fail("invalid capture group name", start);
      return;
    }
    ++pos_;
    if (std::find(seenNames_.begin(), seenNames_.end(), name) != seenNames_.end()) {
      fail("duplicate capture group name", start);
      return;
    }
    seenNames_.push_back(std::move(name));
  }

  // Reads {n}, {n,} or {n,m} at pos_; on success moves past it. A brace that
  // does not start one of these is an ordinary character.
  bool scanBraces(long* lo, long* hi) {
    std::size_t i = pos_ + 1;
    auto readNumber = [&](long* value) {
      std::size_t first = i;
      long v = 0;
      while (i < src_.size() && isDigit(src_[i])) {
        v = std::min<long>(v * 10 + (src_[i] - u'0'), 1L << 31);
        ++i;
      }
      *value = v;
      return i > first;
    };
    if (!readNumber(lo)) return false;
    *hi = *lo;
    if (i < src_.size() && src_[i] == u',') {
      ++i;
      if (!readNumber(hi)) *hi = kUnbounded;
    }
    if (i >= src_.size() || src_[i] != u'}') return false;
    pos_ = i + 1;
    return true;
  }

  // Parses an optional quantifier after an atom of the given kind; returns
  // its lower bound, or nothing when there is none.
  std::optional<long> parseQuantifier(AtomKind atomKind, std::size_t atomStart) {
    if (atEnd()) return std::nullopt;
    const std::size_t start = pos_;
    char16_t c = peek();
    long lo = 0, hi = 0;
    std::u16string quantifier;  // as PCRE2 reads it
    if (c == u'*' || c == u'+' || c == u'?') {
      lo = c == u'+' ? 1 : 0;
      ++pos_;
      quantifier = c;
    } else if (c == u'{' && scanBraces(&lo, &hi)) {
      if (hi != kUnbounded && lo > hi) {
        fail("numbers out of order in {} quantifier", start);
        return lo;
      }
      if (lo > kQuantifierMax) {
        fail("repeat count over 65535", start);
        unsupported_ = true;
        return lo;
      }
      appendAscii("{" + std::to_string(lo) + ",", quantifier);
      // A repeat bound beyond any keyword's length means "no bound".
      if (hi != kUnbounded && hi <= kQuantifierMax) appendAscii(std::to_string(hi), quantifier);
      quantifier += u'}';
    } else {
      return std::nullopt;
    }
    if (atomKind == AtomKind::Assertion || atomKind == AtomKind::LineStart) {
      fail("nothing to repeat", atomStart);
      return lo;
    }
    const bool lazy = !atEnd() && peek() == u'?';
    if (lazy) ++pos_;
    if (atomKind == AtomKind::Lookahead && lo == 0) {
      // The dialect rejects a pass that consumes nothing when it may repeat
      // zero times, so such a lookahead neither tests nor captures. PCRE2
      // would try it and keep its captures.
      out_ += u"{0}";
      return lo;
    }
    out_ += quantifier;
    if (lazy) out_ += u'?';
    return lo;
  }

  void emitLiteral(char16_t c) {
    if (isSurrogate(c)) {
      // Text converted from GBK never holds a surrogate: match nothing.
      out_ += u"[]";
    } else if (isAsciiLetter(c) || isDigit(c) || c >= 0x80) {
      out_ += c;
    } else {
      appendHexEscape(c, out_);
    }
  }

  // Legacy octal escape: up to three octal digits, value at most 0377.
  char16_t parseOctal() {
    int value = 0;
    int maxDigits = (peek() <= u'3') ? 3 : 2;
    for (int n = 0; n < maxDigits && !atEnd() && isOctal(peek()); ++n) value = value * 8 + (src_[pos_++] - u'0');
    return static_cast<char16_t>(value);
  }

  // Character escapes shared by atoms and classes (pos_ is past the backslash
  // and at the escape letter). Returns false when the escape is not one of
  // them, leaving pos_ unchanged.
  bool parseCharacterEscape(char16_t* out) {
    char16_t c = peek();
    switch (c) {
      case u'f': *out = u'\f'; ++pos_; return true;
      case u'n': *out = u'\n'; ++pos_; return true;
      case u'r': *out = u'\r'; ++pos_; return true;
      case u't': *out = u'\t'; ++pos_; return true;
      case u'v': *out = u'\v'; ++pos_; return true;
      case u'x':
        if (hexValue(peek(1)) >= 0 && hexValue(peek(2)) >= 0) {
          *out = static_cast<char16_t>(hexValue(peek(1)) * 16 + hexValue(peek(2)));
          pos_ += 3;
        } else {
          *out = u'x';
          ++pos_;
        }
        return true;
      case u'u':
        if (hexValue(peek(1)) >= 0 && hexValue(peek(2)) >= 0 && hexValue(peek(3)) >= 0 && hexValue(peek(4)) >= 0) {
          *out = static_cast<char16_t>(hexValue(peek(1)) << 12 | hexValue(peek(2)) << 8 | hexValue(peek(3)) << 4 |
                                       hexValue(peek(4)));
          pos_ += 5;
        } else {
          *out = u'u';
          ++pos_;
        }
        return true;
      default:
        return false;
    }
  }

  Atom parseAtomEscape(std::size_t start) {
    if (atEnd()) {
      fail("\\ at end of pattern", start);
      return {};
    }
    char16_t c = peek();
    char16_t ch = 0;
    if (c == u'b' || c == u'B') {
      ++pos_;
      out_ += u'\\';
      out_ += c;
      return Atom(AtomKind::Assertion);
    }
    if (c == u'd' || c == u'D' || c == u'w' || c == u'W' || c == u's' || c == u'S') {
      ++pos_;
      if (c == u's' || c == u'S') {
        out_ += (c == u's') ? u"[" : u"[^";
        out_ += kSpaceClassBody;
        out_ += u']';
      } else {
        out_ += u'\\';
        out_ += c;
      }
      Atom atom(AtomKind::Class);
      atom.members.emplace();
      collectClassEscape(c, *atom.members);
      return atom;
    }
    if (c >= u'1' && c <= u'9') {
      std::size_t save = pos_;
      long n = 0;
      while (!atEnd() && isDigit(peek())) n = std::min<long>(n * 10 + (src_[pos_++] - u'0'), 1L << 31);
      if (n <= groupCount_) {
        appendBackReference(n);
        return {};
      }
      pos_ = save;
      // Not a group number: \8 and \9 stand for the digit, others for octal.
      ch = (c >= u'8') ? src_[pos_++] : parseOctal();
    } else if (c == u'0') {
      ch = parseOctal();
    } else if (c == u'c') {
      if (isAsciiLetter(peek(1))) {
        ch = static_cast<char16_t>(peek(1) % 32);
        pos_ += 2;
      } else {
        ch = u'\\';  // a lone \c is a backslash followed by the letter c
      }
    } else if (c == u'k' && hasNamedGroups_) {
      return parseNamedReference(start);
    } else if (!parseCharacterEscape(&ch)) {
      ch = src_[pos_++];  // identity escape
    }
    return literalAtom(ch);
  }

  // PCRE2 lets an unset group's reference match empty text only when it is
  // not repeated; in a group of its own it may be.
  void appendBackReference(long group) {
    lookaroundOrReference_ = true;
    appendAscii("(?:\\g{" + std::to_string(group) + "})", out_);
  }

  Atom parseNamedReference(std::size_t start) {
    ++pos_;  // 'k'
    if (peek() != u'<' || atEnd()) {
      fail("invalid named reference", start);
      return {};
    }
    std::size_t close = src_.find(u'>', pos_);
    if (close == std::u16string_view::npos) {
      fail("invalid named reference", start);
      return {};
    }
    std::u16string name(src_.substr(pos_ + 1, close - pos_ - 1));
    pos_ = close + 1;
    // The prescan knows every name, so a reference may come before its group.
    int group = 0;
    for (const auto& [groupName, number] : prescanNames_) {
      if (groupName == name) group = number;
    }
    if (group == 0) {
      fail("invalid named capture referenced", start);
      return {};
    }
    appendBackReference(group);
    return {};
  }

  // Reads one class element after its first character was consumed as c.
  ClassAtom parseClassAtom(std::size_t start) {
    ClassAtom atom;
    char16_t c = src_[pos_++];
    if (c != u'\\') {
      atom.ch = c;
      return atom;
    }
    if (atEnd()) {
      fail("\\ at end of pattern", start);
      return atom;
    }
    c = peek();
    if (c == u'd' || c == u'D' || c == u'w' || c == u'W' || c == u's' || c == u'S') {
      ++pos_;
      atom.escape = c;
    } else if (c == u'b') {
      ++pos_;
      atom.ch = u'\b';
    } else if (isDigit(c)) {
      // No back-references inside a class: octal, or the digit itself.
      atom.ch = (c >= u'8') ? src_[pos_++] : parseOctal();
    } else if (c == u'c') {
      char16_t k = peek(1);
      if (isAsciiLetter(k) || isDigit(k) || k == u'_') {
        atom.ch = static_cast<char16_t>(k % 32);
        pos_ += 2;
      } else {
        atom.ch = u'\\';
      }
    } else if (!parseCharacterEscape(&atom.ch)) {
      atom.ch = src_[pos_++];
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
  static void collectClassMembers(char16_t lo, char16_t hi, LineStartCharacters& members) {
    for (char16_t c = lo; c <= std::min<char16_t>(hi, 0x7F); ++c) members.ascii.set(c);
    if (hi >= 0x80) members.nonAscii = true;
  }

  static void collectClassEscape(char16_t escape, LineStartCharacters& set) {
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

  // Parses a bracket class after its '[' and collects its members; returns
  // false when they cannot be listed that way.
  bool parseClass(std::size_t start, LineStartCharacters& members) {
    bool negated = false;
    if (peek() == u'^' && !atEnd()) {
      negated = true;
      ++pos_;
    }
    std::u16string body;
    bool hasNotSpace = false;
    members.negated = negated;
    for (;;) {
      if (atEnd()) {
        fail("unterminated character class", start);
        return false;
      }
      if (peek() == u']') {
        ++pos_;
        break;
      }
      ClassAtom first = parseClassAtom(start);
      if (failed()) return false;
      if (peek() == u'-' && hasAhead(1) && peek(1) != u']') {
        ++pos_;
        ClassAtom second = parseClassAtom(start);
        if (failed()) return false;
        if (first.escape != 0 || second.escape != 0) {
          // A class escape cannot bound a range: the dash is a character.
          appendClassAtom(first, body, &hasNotSpace, members);
          appendClassRange(u'-', u'-', body);
          collectClassMembers(u'-', u'-', members);
          appendClassAtom(second, body, &hasNotSpace, members);
          continue;
        }
        if (first.ch > second.ch) {
          fail("range out of order in character class", start);
          return false;
        }
        appendClassRange(first.ch, second.ch, body);
        collectClassMembers(first.ch, second.ch, members);
        continue;
      }
      appendClassAtom(first, body, &hasNotSpace, members);
    }
    if (!hasNotSpace) {
      out_ += negated ? u"[^" : u"[";
      out_ += body;
      out_ += u']';
      return true;
    }
    // PCRE2 cannot put the complement of our \s inside a class; spell the
    // class as "in body or not a space" (or its negation).
    if (negated) {
      out_ += u"(?:(?![";
      out_ += body;
      out_ += u"])[";
      out_ += kSpaceClassBody;
      out_ += u"])";
    } else {
      out_ += u"(?:[";
      out_ += body;
      out_ += u"]|[^";
      out_ += kSpaceClassBody;
      out_ += u"])";
    }
    return false;  // spelled as a group, not listed
  }

  const std::u16string_view src_;
  std::size_t pos_ = 0;
  std::u16string out_;
  int groupCount_ = 0;
  bool hasNamedGroups_ = false;
  std::vector<std::pair<std::u16string_view, int>> prescanNames_;
  std::vector<std::u16string> seenNames_;
  bool topLevelAlternation_ = false;
  std::u16string run_;
  std::vector<std::u16string> runs_;
  std::vector<std::pair<std::size_t, std::size_t>> offsets_;
  int topLevelTerms_ = 0;
  bool startsWithCaret_ = false;
  std::optional<LineStartCharacters> lineStart_;
  std::string error_;
  std::size_t errorOffset_ = 0;
  bool unsupported_ = false;
  bool lookaroundOrReference_ = false;
};

}  // namespace

TranslatedRegex translateRegex(std::u16string_view source) { return Translator(source).run(); }

std::size_t TranslatedRegex::sourceOffsetOf(std::size_t pcreOffset) const {
  std::size_t source = 0;
  for (const auto& [out, in] : sourceOffsets) {
    if (out > pcreOffset) break;
    source = in;
  }
  return source;
}

}  // namespace kx
