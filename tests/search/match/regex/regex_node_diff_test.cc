// Differential test of the regex dialect: the same patterns and keywords run
// through RegexMatcher and through node's RegExp (flags i and m), which reads
// the same dialect. Skipped, visibly, when node is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "search/match/regex/regex_matcher.h"
#include "search/match/regex/regex_translator.h"
#include "support/test_util.h"
#include "text/gbk_codec.h"

namespace kx {
namespace {

using test::gbk;

// A JSON string of the UTF-16 code units of a GBK text, as the matcher sees them.
std::string jsonString(std::string_view gbkText) {
  std::string out = "\"";
  char buf[8];
  for (char16_t c : gbkToUtf16(gbkText)) {
    if (c >= 0x20 && c < 0x7F && c != u'"' && c != u'\\') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out + "\"";
}

const std::vector<std::string> kPatterns = {
    // literals, alternation, dot
    "阿迪", "阿迪达斯.*鞋", "阿迪达斯.+鞋", ".*迪达斯.*", "阿迪|耐克", "nike", "NIKE", "Nike|adidas", "a|", "|a", "",
    "a.c", "...", "^.$", "^..$", "鞋$", "^阿迪", "^$", "^", "$", "男.鞋", "男..鞋", "x.y",
    // classes
    "[abc]", "[^abc]", "[a-z]+", "^[a-z]+\\d", "[A-Z]", "[^a-z]", "[]", "[^]", "[]a", "[^]a", "a[]", "[-a]", "[a-]",
    "[--z]", "[a-c-e]", "[\\d-z]", "[z-\\d]", "[\\w]", "[^\\w]", "[\\s]", "[\\S]", "[\\s\\S]", "[^\\s]", "[^\\S]",
    "[^\\sa]", "[a\\S]", "[^a\\S]", "[\\b]", "[\\B]", "[\\-]", "[\\]]", "[]]", "[a]]", "[[]", "[[:alpha:]]",
    "[[:digit:]]+", "[\\x41-\\x43]", "[\\u0041]", "[\\101]", "[\\8]", "[\\cA]", "[\\c1]", "[\\c_]", "[\\c]", "[阿-鞋]",
    "[男女]式", "[ａ-ｚ]", "[Ａ-Ｚ]+", "[α-ω]", "[а-я]", "[^\\x00-\\x7f]", "[\\u4e00-\\u9fa5]+", "[z-a]", "[\\uD800-\\uDFFF]",
    "[\\u0000-\\uffff]", "[^\\uD800]",
    // escapes
    "\\d", "\\D", "\\d+", "\\d{2}", "\\w+", "\\W", "\\s", "\\S", "\\s+", "\\S+", "\\bnike\\b", "\\Bike", "\\b", "\\B",
    "\\b男", "男\\b", "a\\b", "\\.", "\\*", "\\?", "\\(", "\\)", "\\[", "\\]", "\\{", "\\}", "\\|", "\\^", "\\$", "\\\\",
    "\\/", "\\-", "\\A", "\\Z", "\\z", "\\G", "\\K", "\\Q.\\E", "\\h", "\\H", "\\R", "\\X", "\\N", "\\e", "\\a",
    "\\p{L}", "\\P{L}", "\\pL", "\\x41", "\\x4", "\\x", "\\xg1", "\\u0041", "\\u004", "\\u{41}", "\\u", "\\t", "\\n",
    "\\r", "\\f", "\\v", "\\0", "\\00", "\\01", "\\012", "\\101", "\\141", "\\400", "\\8", "\\9", "\\18", "\\cA",
    "\\ca", "\\cJ", "\\c", "\\c1", "\\c_", "\\k", "\\k<a>", "\\g1", "\\o{101}", "\\u963f", "\\u963F\\u8fea", "\\uD800",
    "\\uD83D\\uDE00", "\\y", "\\i", "\\j", "\\q", "\\l", "\\L", "\\U", "\\C", "\\E", "\\M", "\\V",
    // quantifiers
    "a*", "a+", "a?", "a{2}", "a{2,}", "a{2,3}", "a{,3}", "a{", "a{1", "a{1,", "a{a}", "{", "}", "{1}", "x{1}{2}",
    "a{3,2}", "a**", "a*?", "a+?", "a??", "a{1,2}?", "a*+", "a++", "a?+", "*a", "+a", "?a", "a|*", "(*)", "(?:)",
    "(?:a)*b", "a{0}", "a{0}b", "a{1}b", "^a{2,3}$", "a{65535}", "a{65536}", "a{1,100000}", "a{99999999999}",
    "x*y", "x+?y", "(a|ab)(c|bcd)(d*)", "(a+)+b", "(a*)*b", "(a*)+$", "(a|b)*c", "(a|aa)+$", "(?:a*?)*b",
    // groups, lookaround, back-references
    "(a)", "(a)\\1", "(a)|\\1b", "\\1(a)", "(a)\\2", "(a)(b)\\2\\1", "(a)\\10", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)\\10",
    "(b)?\\1a", "(?:(a)|b)\\1", "(?:(a)|b)+\\1", "(a)?b\\1", "(?=a)", "(?=a)a", "(?!a)", "a(?!b)", "a(?=b)", "(?=a)*",
    "(?=a)+b", "(?!a)?", "(?<=a)b", "(?<!a)b", "(?<=ab|c)d", "(?<=a+)b", "(?<=a)*b", "(?<name>a)\\k<name>",
    "(?<n>a)\\k<m>", "(?<n>a)\\k", "(?<n>a)(?<n>b)", "\\k<n>(?<n>a)", "(?<1a>a)", "(?<a$>a)", "(?i)a", "(?m)a",
    "(?#c)a", "(?|a)", "(?>a)", "(?P<n>a)", "(?'n'a)", "(?", "(", ")", "a)", "(a", "((a)", "(a))", "()", "(|)",
    "(?:a|b)+", "(a)(?:b)(c)\\2", "(?=(a))\\1", "(?!(a))\\1b", "(a)|b\\1", "((a)|b)+", "(a|)+", "(a*)+b", "([a-c])\\1",
    "(阿)\\1", "(男|女)式", "(?:阿迪)+", "(?<=阿)迪", "(?<!耐)克",
    "(x)?\\1+b", "\\1{2}b(x)?", "(?<n>x)?\\k<n>{1,}b", "^(?:(a)|b)+\\1c$",
    "^(?=(a))?\\1$", "^(?=(a)){0,3}\\1$", "^(?=(a)){1,3}\\1$", "(?=(A|\\Ba){0})[^A](?<=x)2", "((?=B))\\1b",
    // PCRE2 verbs and specials that must stay plain text or errors
    "(*FAIL)", "(*ACCEPT)a", "(*UTF)a", "(?R)", "(?1)(a)", "a(?C1)", "\\g{1}(a)", "(?i:a)", "a#b", " a", "a ",
    // anchors with Multiline and CR inside a keyword
    "^y", "x$", "^x$", "x\\ry", "x.y", "^y$", "$^", "^^", "$$", "a$b", "^*",
    // case folding: ASCII, full-width Latin, Greek, Cyrillic, Roman numerals
    "ＮＩＫＥ", "ｎｉｋｅ", "Ｎike", "ｉｐｈｏｎｅ", "ΑΒΓ", "αβγ", "абв", "АБВ", "Ⅰ型", "ⅰ型", "ā", "ü", "€",
    "[ａ]", "[^ａ]", "[Ａ-Ｃ]", "[ā]", "[ⅰ-ⅲ]", "IPHONE", "iphone\\s*15", "[a-z]+\\s[a-z]+", "誠", "誠.*", "実",
    // unicode-ish content
    "　", "\\u3000", "\\s全角", "\\S全角", "^\\s", "\\ufeff", "\\u00a0", "[\\u3000]", "\\w+鞋", "\\W+", "[^\\W]",
    "^[^a]", "^\\S", "^[ａ-ｚ]", "^[Ａ-Ｚ]+", "^€", "^[^\\x00-\\x7f]", "^°", "^[\\u00b0]", "^ā", "^Ⅰ", "^ⅰ",
    "^(?:a|阿)", "^\\d|^阿", "^a|b$", "^y|^x", "^\\s*x", "^[a-z]+\\d$", "^(?=a)", "^(?!a)\\w",
    "中国China", "China$", "^2024", "\\d{4}新款", "15 Pro", "Pro Max$", "新款|China", "[阿耐]迪?",
    // a group or lookaround right after ^
    "^(?:b|[a])", "^(?![a])", "^([a]?)", "^(?:x|\\d)",
};

const std::vector<std::string> kKeywords = {
    "阿迪达斯 男式鞋", "Nike 男鞋", "nike air", "NIKE", "ｎｉｋｅ全角", "ＮＩＫＥ", "耐克运动鞋", "阿迪", "阿?达",
    "阿迪达斯", "a1", "abc123", "Abc", "aaa", "aaaa", "aaaaaaaaaaaaaaaaaaaaaaaab", "", " ", "　全角空格", "tab\there",
    "x\ry", "x\r", "\ry", "a.b", "a*b", "a+b", "(a)", "[x]", "{1}", "a{2}", "a{", "a\\b", "$100", "^start", "end$",
    "中国China", "2024新款", "iPhone 15 Pro Max", "ｉＰｈｏｎｅ", "Ⅰ型", "ⅰ型", "ΑΒΓ", "αβγ", "АБВ", "абв", "ā", "ü",
    "€", "誠", "誠実", "12-34", "a_b", "foo bar baz", "abab", "abcabc", "aa", "ab", "ba", "bab", "b", "c", "d", "abcd",
    "abd", "cd", "A", "Z", "z", "-", "]", "[", ":", "#", "\x01", "\n", "\t", "\v", "\f", "\b", "\x7f",
    "ef", "ke", "like", "bike", "男", "女式", "男式", "男 鞋", "鞋", "鞋子", "男式鞋", "阿", "迪", "克", "阿阿", "耐克",
    "aAbB", "ABAB", "Abcd", "xyz", "x", "y", "yx", "xy", "acd", "abbcd", "abcbcd", "ac", "abc", "aab", "aaab",
    "iphone15", "iphone 15", "IPHONE", "hello world", "a b", "ab ", " ab", "0", "99", "1a", "a1b2", "01", "\x08",
    "\\", "/", "A1", "B", "Q", "Ｑ", "ａ", "Ａ", "ｚ", "Ｃ", "ⅱ", "Ⅲ", "α", "Ω", "ω", "а", "Я", "я", "é", "°C", "·x", "×", "ab\rAa", "\r", "a\rb", "bcd", "x2",
};

// Every cased letter of GBK's Latin, full-width, Greek, Cyrillic and Roman
// numeral rows, and the pinyin letters: each is a pattern against all of them.
std::vector<std::string> gbkLetters() {
  std::vector<std::string> letters;
  for (char c = 'A'; c <= 'Z'; ++c) letters.push_back(std::string(1, c));
  for (char c = 'a'; c <= 'z'; ++c) letters.push_back(std::string(1, c));
  auto row = [&letters](int lead, int first, int last) {
    for (int t = first; t <= last; ++t) {
      std::string s{static_cast<char>(lead), static_cast<char>(t)};
      if (gbkCharToUnicode(static_cast<unsigned char>(lead), t) != 0xFFFD) letters.push_back(s);
    }
  };
  row(0xA3, 0xC1, 0xDA);
  row(0xA3, 0xE1, 0xFA);
  row(0xA6, 0xA1, 0xB8);
  row(0xA6, 0xC1, 0xD8);
  row(0xA7, 0xA1, 0xC1);
  row(0xA7, 0xD1, 0xF1);
  row(0xA2, 0xA1, 0xAA);
  row(0xA2, 0xF1, 0xFC);
  row(0xA8, 0xA1, 0xC0);
  return letters;
}

// Where PCRE2 and RegExp are known to part, and why.
const std::map<std::string, std::string> kKnownDifferences = {
    {"a{65536}", "PCRE2 repeats at most 65535 times; a larger lower bound is reported as an error"},
    {"a{99999999999}", "PCRE2 repeats at most 65535 times; a larger lower bound is reported as an error"},
    {"(a*)+$", "catastrophic backtracking on the long keyword stops at the work limit and counts as no match"},
    {"(?<=a+)b", "PCRE2 10.42 accepts only lookbehinds of fixed length per branch"},
    {"^(?:(a)|b)+\\1c$", "RegExp clears the captures of a repeated group at each pass; PCRE2 keeps them"},
};

bool haveNode() { return std::system("node --version > /dev/null 2>&1") == 0; }

// Runs node over the cases; returns one result line per pattern.
std::vector<std::string> nodeResults(const std::vector<std::string>& patterns, const std::vector<std::string>& keywords,
                                     const std::string& name) {
  const std::string dir = ::testing::TempDir();
  const std::string in = dir + "/" + name + ".in", out = dir + "/" + name + ".out";
  {
    std::ofstream f(in, std::ios::binary);
    f << "im\n" << patterns.size() << "\n";
    for (const auto& p : patterns) f << jsonString(p) << "\n";
    for (const auto& k : keywords) f << jsonString(k) << "\n";
  }
  const std::string command =
      "node \"" + std::string(KX_SOURCE_DIR) + "/tests/search/match/regex/regex_node_diff.js\" \"" + in + "\" \"" + out + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream f(out, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(f, line);) lines.push_back(line);
  return lines;
}

// The plain engine's verdicts ("E" when the pattern does not compile). The
// fast paths must agree with it: the first-character shortcut on every
// keyword, and the prefilter must find every keyword the engine matches.
std::string ourResult(RegexMatcher& matcher, const std::string& pattern, const std::vector<std::string>& keywords) {
  matcher.setPattern(pattern, true, true, false);
  if (!matcher.errorText().empty()) return "E";
  std::string plain, fast;
  matcher.setFastPaths(false);
  for (const auto& k : keywords) plain += matcher.countMatches(k) ? '1' : '0';
  matcher.setFastPaths(true);
  const LiteralPrefilter* filter = matcher.prefilter();
  for (std::size_t i = 0; i < keywords.size(); ++i) {
    const std::string& k = keywords[i];
    fast += matcher.countMatches(k) ? '1' : '0';
    if (filter && plain[i] == '1') {
      EXPECT_NE(filter->find(k.data(), k.data() + k.size()), k.data() + k.size())
          << "prefilter " << gbkToUtf8(filter->needle()) << " misses \"" << gbkToUtf8(k) << "\" for /"
          << gbkToUtf8(pattern) << "/";
    }
  }
  EXPECT_EQ(fast, plain) << "first-character shortcut of /" << gbkToUtf8(pattern) << "/";
  return plain;
}

void compareWithNode(const std::vector<std::string>& patterns, const std::vector<std::string>& keywords,
                     const std::string& name) {
  const std::vector<std::string> expected = nodeResults(patterns, keywords, name);
  ASSERT_EQ(expected.size(), patterns.size());
  int differing = 0;
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    RegexMatcher matcher;
    const std::string ours = ourResult(matcher, patterns[i], keywords);
    const std::string pattern = gbkToUtf8(patterns[i]);
    if (ours == expected[i]) {
      EXPECT_FALSE(kKnownDifferences.count(pattern)) << "no longer differs: " << pattern;
      continue;
    }
    if (kKnownDifferences.count(pattern)) continue;
    ++differing;
    std::ostringstream detail;
    detail << "pattern /" << pattern << "/ ours " << (ours == "E" ? "error: " + matcher.errorText() : ours)
           << " node " << expected[i];
    if (ours != "E" && expected[i] != "E") {
      for (std::size_t k = 0; k < keywords.size() && k < ours.size(); ++k) {
        if (ours[k] != expected[i][k]) detail << "\n   keyword \"" << gbkToUtf8(keywords[k]) << "\" ours " << ours[k];
      }
    }
    ADD_FAILURE() << detail.str();
  }
  EXPECT_EQ(differing, 0);
}

std::vector<std::string> toGbk(const std::vector<std::string>& utf8) {
  std::vector<std::string> out;
  for (const auto& s : utf8) out.push_back(gbk(s));
  return out;
}

// Random patterns built from the dialect's parts (anchors, every kind of
// group, alternation, quantifiers, classes, escapes, lookarounds and
// back-references) over the characters the generated keywords are made of,
// so most patterns match some keywords and miss others.
class PatternGenerator {
 public:
  explicit PatternGenerator(std::uint32_t seed) : rng_(seed) {}

  struct Pattern {
    std::string text;  // UTF-8
    // A back-reference names a group inside a group repeated more than once,
    // whose capture RegExp clears at each pass and PCRE2 keeps.
    bool refersIntoRepeat = false;
  };

  Pattern next() {
    repeatedGroups_.clear();
    references_.clear();
    Pattern p;
    p.text = (pick(10) < 4 ? "^" : "") + disjunction(0, false, false);
    for (int n : references_) p.refersIntoRepeat |= n <= static_cast<int>(repeatedGroups_.size()) && repeatedGroups_[n - 1];
    return p;
  }

  // Keywords of the same characters, with a CR inside now and then.
  std::vector<std::string> keywords(int count) {
    std::vector<std::string> out = {"", "a", "A", "阿", "ab", "a\rb"};
    static const char* const kChars[] = {"a", "b", "c", "A", "B", "C", "1", "2", "x", "阿", "迪", "鞋", " ", "_", ".", "-"};
    while (static_cast<int>(out.size()) < count) {
      std::string k;
      for (int n = pick(7); n > 0; --n) k += pick(40) == 0 ? "\r" : kChars[pick(std::size(kChars))];
      out.push_back(k);
    }
    return out;
  }

 private:
  int pick(std::size_t n) { return static_cast<int>(rng_() % n); }
  template <std::size_t N>
  const char* oneOf(const char* const (&items)[N]) {
    return items[pick(N)];
  }

  // fixed: inside a lookbehind, where PCRE2 needs one length per alternative
  // (nested alternatives of one length are not generated).
  std::string disjunction(int depth, bool fixed, bool repeated) {
    std::string out = alternative(depth, fixed, repeated);
    for (int n = (depth > 0 && fixed) ? 0 : pick(10) < 7 ? 0 : pick(2) + 1; n > 0; --n) {
      out += "|" + alternative(depth, fixed, repeated);
    }
    return out;
  }

  std::string alternative(int depth, bool fixed, bool repeated) {
    std::string out;
    for (int n = pick(depth == 0 ? 5 : 4); n >= 0; --n) out += term(depth, fixed, repeated);
    return out;
  }

  std::string term(int depth, bool fixed, bool repeated) {
    static const char* const kFree[] = {"?", "*", "+", "{0}", "{1}", "{2}", "{0,1}", "{1,}", "{1,2}", "{2,3}", "{0,2}"};
    static const char* const kFixed[] = {"{1}", "{2}"};
    std::string quantifier;
    long max = 1;
    if (pick(100) < 30) {
      quantifier = fixed ? oneOf(kFixed) : oneOf(kFree);
      max = quantifier == "?" || quantifier == "{0}" || quantifier == "{1}" || quantifier == "{0,1}" ? 1 : 2;
      if (!fixed && pick(4) == 0) quantifier += "?";
    }
    bool quantifiable = true;
    std::string out = atom(depth, fixed, repeated || max > 1, &quantifiable);
    return quantifiable ? out + quantifier : out;
  }

  std::string atom(int depth, bool fixed, bool repeated, bool* quantifiable) {
    static const char* const kLiterals[] = {"a", "b", "c", "A", "B", "C", "1", "2", "x", "阿", "迪", "鞋", " ",
                                            "_", "\\.", "\\-", "\\x41", "\\x62", "\\u963f", "\\101", "\\t", "-"};
    static const char* const kClassEscapes[] = {"\\d", "\\D", "\\w", "\\W", "\\s", "\\S"};
    static const char* const kAssertions[] = {"^", "$", "\\b", "\\B"};
    static const char* const kClassItems[] = {"a", "b", "A", "1", "阿", "鞋", "a-c", "A-C", "0-9", "迪-鞋", "\\d",
                                              "\\w", "\\s", "\\D", "\\W", "\\S", "\\]", "\\-", "_", " ", "."};
    const int kind = pick(100);
    if (kind < 35) return oneOf(kLiterals);
    if (kind < 40) return ".";
    if (kind < 48) return oneOf(kClassEscapes);
    if (kind < 58) {
      std::string out = pick(3) == 0 ? "[^" : "[";
      for (int n = pick(3); n >= 0; --n) out += oneOf(kClassItems);
      return out + "]";
    }
    if (kind < 66) {
      *quantifiable = false;
      return oneOf(kAssertions);
    }
    if (kind < 72 && !fixed) {
      const int group = pick(static_cast<std::size_t>(repeatedGroups_.size()) + 2);
      references_.push_back(std::max(group, 1));
      // Group 1 by name now and then; a plain k when no group has a name.
      return group == 0 ? "\\k<g1>" : "\\" + std::to_string(group);
    }
    if (depth >= 3) return oneOf(kLiterals);
    switch (pick(7)) {
      case 0:
        repeatedGroups_.push_back(repeated);
        return "(" + disjunction(depth + 1, fixed, repeated) + ")";
      case 1: {
        repeatedGroups_.push_back(repeated);
        const std::string name = "g" + std::to_string(repeatedGroups_.size());
        return "(?<" + name + ">" + disjunction(depth + 1, fixed, repeated) + ")";
      }
      case 2:
        return "(?:" + disjunction(depth + 1, fixed, repeated) + ")";
      case 3:
        return "(?=" + disjunction(depth + 1, fixed, repeated) + ")";
      case 4:
        return "(?!" + disjunction(depth + 1, fixed, repeated) + ")";
      default:
        *quantifiable = false;
        // Now and then a lookbehind PCRE2 cannot take, which must be reported as such.
        return std::string(pick(2) ? "(?<=" : "(?<!") + disjunction(depth + 1, pick(8) != 0, repeated) + ")";
    }
  }

  std::mt19937 rng_;
  std::vector<bool> repeatedGroups_;  // per capture group: inside a group repeated more than once
  std::vector<int> references_;       // group numbers referred to by \N
};

TEST(RegexNodeDiffTest, GeneratedPatternsAgreeWithNodeAndTheirFastPaths) {
  if (!haveNode()) GTEST_SKIP() << "node not found: the differential test against RegExp did not run";
  constexpr int kPatternCount = 3000;
  PatternGenerator generator(20240611);
  std::vector<std::string> patterns;
  std::vector<bool> refersIntoRepeat;
  for (int i = 0; i < kPatternCount; ++i) {
    PatternGenerator::Pattern p = generator.next();
    patterns.push_back(gbk(p.text));
    refersIntoRepeat.push_back(p.refersIntoRepeat);
  }
  const std::vector<std::string> keywords = toGbk(generator.keywords(150));
  const std::vector<std::string> expected = nodeResults(patterns, keywords, "generated");
  ASSERT_EQ(expected.size(), patterns.size());
  int differing = 0, unsupported = 0, captureResets = 0, errors = 0, prefiltered = 0, lineStarts = 0;
  for (std::size_t i = 0; i < patterns.size(); ++i) {
    RegexMatcher matcher;
    const std::string ours = ourResult(matcher, patterns[i], keywords);
    errors += ours == "E";
    prefiltered += matcher.prefilter() != nullptr;
    lineStarts += translateRegex(gbkToUtf16(patterns[i])).lineStart.has_value();
    if (ours == expected[i]) continue;
    // The differences PCRE2 cannot help (see README).
    if (ours == "E" && matcher.errorIsUnsupported()) {
      ++unsupported;
      continue;
    }
    if (refersIntoRepeat[i]) {
      ++captureResets;
      continue;
    }
    if (++differing <= 20) {
      std::string where;
      for (std::size_t k = 0; k < keywords.size() && k < ours.size() && k < expected[i].size(); ++k) {
        if (ours[k] != expected[i][k]) where += "\n   keyword \"" + gbkToUtf8(keywords[k]) + "\" ours " + ours[k];
      }
      ADD_FAILURE() << "pattern /" << gbkToUtf8(patterns[i]) << "/ ours "
                    << (ours == "E" ? "error: " + matcher.errorText() : ours) << " node " << expected[i] << where;
    }
  }
  EXPECT_EQ(differing, 0);
  std::printf("%d generated patterns on %zu keywords: %d with a prefilter, %d with a line-start set, %d not compiled, %d unsupported lookbehinds, "
              "%d capture resets\n",
              kPatternCount, keywords.size(), prefiltered, lineStarts, errors, unsupported, captureResets);
}

TEST(RegexNodeDiffTest, PatternsAgreeWithNodeRegExp) {
  if (!haveNode()) GTEST_SKIP() << "node not found: the differential test against RegExp did not run";
  std::vector<std::string> patterns = toGbk(kPatterns);
  patterns.erase(std::remove(patterns.begin(), patterns.end(), std::string()), patterns.end());
  compareWithNode(patterns, toGbk(kKeywords), "patterns");
}

TEST(RegexNodeDiffTest, CaseFoldingOfEveryGbkLetterAgreesWithNode) {
  if (!haveNode()) GTEST_SKIP() << "node not found: the differential test against RegExp did not run";
  const std::vector<std::string> letters = gbkLetters();
  compareWithNode(letters, letters, "letters");
}

}  // namespace
}  // namespace kx
