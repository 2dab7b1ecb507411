#include "search/match/regex/regex_translator.h"

#include <algorithm>

#include "search/match/regex/regex_class.h"
#include "search/match/regex/regex_cursor.h"
#include "search/match/regex/regex_fast_path.h"
#include "search/match/regex/regex_groups.h"

namespace kx {
namespace {

using regex::Atom;
using regex::AtomKind;
using regex::FastPathAnalysis;
using regex::GroupTable;
using regex::PatternCursor;
using regex::appendAscii;
using regex::appendHexEscape;
using regex::appendSpaceClass;
using regex::collectClassEscape;
using regex::isAsciiLetter;
using regex::isDigit;
using regex::isSurrogate;
using regex::kQuantifierMax;
using regex::kUnbounded;
using regex::parseClass;
using regex::scanGroups;

constexpr int kMaxGroupDepth = 250;  // PCRE2's default nesting limit

// Reads a pattern by recursive descent and writes its PCRE2 form; character
// classes, escapes and the fast-path analysis are in their own files.
class Translator {
 public:
  explicit Translator(std::u16string_view source) : cursor_(source), groups_(scanGroups(source)) {}

  TranslatedRegex run() {
    parseDisjunction(0);
    TranslatedRegex result;
    if (cursor_.failed()) {
      result.error = cursor_.error();
      result.errorOffset = cursor_.errorOffset();
      result.unsupported = cursor_.unsupported();
      return result;
    }
    result.pcre = std::move(out_);
    result.sourceOffsets = std::move(offsets_);
    result.lookaroundOrReference = lookaroundOrReference_;
    fastPath_.finish(result);
    return result;
  }

 private:
  void parseDisjunction(int depth) {
    for (;;) {
      parseAlternative(depth);
      if (cursor_.failed() || cursor_.atEnd() || cursor_.peek() != u'|') return;
      if (depth == 0) fastPath_.noteAlternation();
      cursor_.advance();
      out_ += u'|';
    }
  }

  void parseAlternative(int depth) {
    while (!cursor_.failed() && !cursor_.atEnd()) {
      char16_t c = cursor_.peek();
      if (c == u'|') return;
      if (c == u')') {
        if (depth == 0) cursor_.fail("unmatched ')'", cursor_.pos());
        return;
      }
      parseTerm(depth);
    }
  }

  void parseTerm(int depth) {
    const std::size_t start = cursor_.pos();
    offsets_.emplace_back(out_.size(), start);
    const Atom atom = parseAtom(depth);
    if (cursor_.failed()) return;
    const std::optional<std::int64_t> minRepeat = parseQuantifier(atom.kind, start);
    if (depth == 0) fastPath_.noteTerm(atom, minRepeat);
  }

  Atom literalAtom(char16_t c) {
    emitLiteral(c);
    return Atom(AtomKind::Literal, c);
  }

  Atom parseAtom(int depth) {
    const std::size_t start = cursor_.pos();
    char16_t c = cursor_.take();
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
        cursor_.fail("nothing to repeat", start);
        return {};
      case u'{': {
        std::int64_t lo = 0, hi = 0;
        cursor_.setPos(start);
        if (cursor_.scanBraces(&lo, &hi)) {
          cursor_.fail("nothing to repeat", start);
          return {};
        }
        cursor_.setPos(start + 1);  // a brace that opens no quantifier is a character
        return literalAtom(c);
      }
      case u'(':
        return Atom(parseGroup(depth, start));
      case u'[': {
        Atom atom(AtomKind::Class);
        atom.members.emplace();
        if (!parseClass(cursor_, start, out_, *atom.members)) atom.members.reset();
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
      cursor_.fail("parentheses are too deeply nested", start);
      return AtomKind::Other;
    }
    AtomKind kind = AtomKind::Other;
    if (cursor_.peek() == u'?') {
      char16_t k = cursor_.peek(1);
      if (k == u':' || k == u'=' || k == u'!') {
        out_ += u"(?";
        out_ += k;
        cursor_.advance(2);
        if (k != u':') {
          kind = AtomKind::Lookahead;
          lookaroundOrReference_ = true;
        }
      } else if (k == u'<' && (cursor_.peek(2) == u'=' || cursor_.peek(2) == u'!')) {
        out_ += u"(?<";
        out_ += cursor_.peek(2);
        cursor_.advance(3);
        kind = AtomKind::Assertion;  // a lookbehind takes no quantifier
        lookaroundOrReference_ = true;
      } else if (k == u'<') {
        cursor_.advance(2);
        parseGroupName(start);
        if (cursor_.failed()) return AtomKind::Other;
        out_ += u'(';
      } else {
        cursor_.fail("invalid group", start);
        return AtomKind::Other;
      }
    } else {
      out_ += u'(';
    }
    parseDisjunction(depth + 1);
    if (cursor_.failed()) return AtomKind::Other;
    if (cursor_.atEnd()) {
      cursor_.fail("unterminated group", start);
      return AtomKind::Other;
    }
    cursor_.advance();  // ')'
    out_ += u')';
    return kind;
  }

  // Reads "name>" of a named group; names become plain numbers in the output.
  void parseGroupName(std::size_t start) {
    std::u16string name;
    while (!cursor_.atEnd() && cursor_.peek() != u'>') {
      char16_t c = cursor_.peek();
      bool ok = isAsciiLetter(c) || c == u'_' || c == u'$' || c >= 0x80 || (isDigit(c) && !name.empty());
      if (!ok) break;
      name += c;
      cursor_.advance();
    }
    if (name.empty() || cursor_.atEnd() || cursor_.peek() != u'>') {
      cursor_.fail("invalid capture group name", start);
      return;
    }
    cursor_.advance();
    if (std::find(seenNames_.begin(), seenNames_.end(), name) != seenNames_.end()) {
      cursor_.fail("duplicate capture group name", start);
      return;
    }
    seenNames_.push_back(std::move(name));
  }

  // Parses an optional quantifier after an atom of the given kind; returns
  // its lower bound, or nothing when there is none.
  std::optional<std::int64_t> parseQuantifier(AtomKind atomKind, std::size_t atomStart) {
    if (cursor_.atEnd()) return std::nullopt;
    const std::size_t start = cursor_.pos();
    char16_t c = cursor_.peek();
    std::int64_t lo = 0, hi = 0;
    std::u16string quantifier;  // as PCRE2 reads it
    if (c == u'*' || c == u'+' || c == u'?') {
      lo = c == u'+' ? 1 : 0;
      cursor_.advance();
      quantifier = c;
    } else if (c == u'{' && cursor_.scanBraces(&lo, &hi)) {
      if (hi != kUnbounded && lo > hi) {
        cursor_.fail("numbers out of order in {} quantifier", start);
        return lo;
      }
      if (lo > kQuantifierMax) {
        cursor_.fail("repeat count over 65535", start, true);
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
      cursor_.fail("nothing to repeat", atomStart);
      return lo;
    }
    const bool lazy = !cursor_.atEnd() && cursor_.peek() == u'?';
    if (lazy) cursor_.advance();
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

  Atom parseAtomEscape(std::size_t start) {
    if (cursor_.atEnd()) {
      cursor_.fail("\\ at end of pattern", start);
      return {};
    }
    char16_t c = cursor_.peek();
    char16_t ch = 0;
    if (c == u'b' || c == u'B') {
      cursor_.advance();
      out_ += u'\\';
      out_ += c;
      return Atom(AtomKind::Assertion);
    }
    if (c == u'd' || c == u'D' || c == u'w' || c == u'W' || c == u's' || c == u'S') {
      cursor_.advance();
      if (c == u's' || c == u'S') {
        appendSpaceClass(c, out_);
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
      std::size_t save = cursor_.pos();
      std::int64_t n = 0;
      while (!cursor_.atEnd() && isDigit(cursor_.peek())) n = std::min<std::int64_t>(n * 10 + (cursor_.take() - u'0'), std::int64_t{1} << 31);
      if (n <= groups_.count) {
        appendBackReference(n);
        return {};
      }
      cursor_.setPos(save);
      // Not a group number: \8 and \9 stand for the digit, others for octal.
      ch = (c >= u'8') ? cursor_.take() : cursor_.parseOctal();
    } else if (c == u'0') {
      ch = cursor_.parseOctal();
    } else if (c == u'c') {
      if (isAsciiLetter(cursor_.peek(1))) {
        ch = static_cast<char16_t>(cursor_.peek(1) % 32);
        cursor_.advance(2);
      } else {
        ch = u'\\';  // a lone \c is a backslash followed by the letter c
      }
    } else if (c == u'k' && groups_.hasNames) {
      return parseNamedReference(start);
    } else if (!cursor_.parseCharacterEscape(&ch)) {
      ch = cursor_.take();  // identity escape
    }
    return literalAtom(ch);
  }

  // PCRE2 lets an unset group's reference match empty text only when it is
  // not repeated; in a group of its own it may be.
  void appendBackReference(std::int64_t group) {
    lookaroundOrReference_ = true;
    appendAscii("(?:\\g{" + std::to_string(group) + "})", out_);
  }

  Atom parseNamedReference(std::size_t start) {
    cursor_.advance();  // 'k'
    if (cursor_.peek() != u'<' || cursor_.atEnd()) {
      cursor_.fail("invalid named reference", start);
      return {};
    }
    std::size_t close = cursor_.source().find(u'>', cursor_.pos());
    if (close == std::u16string_view::npos) {
      cursor_.fail("invalid named reference", start);
      return {};
    }
    const std::u16string_view name = cursor_.source().substr(cursor_.pos() + 1, close - cursor_.pos() - 1);
    cursor_.setPos(close + 1);
    // The prescan knows every name, so a reference may come before its group.
    const int group = groups_.numberOf(name);
    if (group == 0) {
      cursor_.fail("invalid named capture referenced", start);
      return {};
    }
    appendBackReference(group);
    return {};
  }

  PatternCursor cursor_;
  const GroupTable groups_;
  std::u16string out_;
  std::vector<std::u16string> seenNames_;
  std::vector<std::pair<std::size_t, std::size_t>> offsets_;
  FastPathAnalysis fastPath_;
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
