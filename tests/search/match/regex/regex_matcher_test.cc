#include "search/match/regex/regex_matcher.h"

#include <gtest/gtest.h>

#include "support/test_util.h"

namespace kx {
namespace {

using test::gbk;

const std::string kTarget = gbk(u8"阿迪达斯 男式鞋");

// The search run's settings: ignore case and multi-line on, global off.
bool wildcardMatches(RegexMatcher& m, std::string_view query, std::string_view keyword) {
  m.setPattern(wildcardToPattern(query), true, true, false);
  return m.countMatches(keyword) != 0;
}
bool regexMatches(RegexMatcher& m, std::string_view pattern, std::string_view keyword) {
  m.setPattern(pattern, true, true, false);
  return m.countMatches(keyword) != 0;
}

TEST(RegexMatcherTest, HelpTextExamplesMatchTheirTarget) {
  RegexMatcher m;
  for (const char8_t* q : {u8"*迪达斯*", u8"*男式*", u8"阿迪达斯*鞋"}) EXPECT_TRUE(wildcardMatches(m, gbk(q), kTarget));
  for (const char8_t* p : {u8"阿迪达斯.*鞋", u8"阿迪达斯.+鞋"}) EXPECT_TRUE(regexMatches(m, gbk(p), kTarget));
  EXPECT_FALSE(regexMatches(m, gbk(u8"阿迪达斯.+ 男式鞋"), kTarget));  // `.+` needs a character
}

TEST(RegexMatcherTest, LettersMatchInEitherCaseIncludingFullWidth) {
  RegexMatcher m;
  const std::string nike = gbk(u8"Nike 男鞋");
  EXPECT_TRUE(wildcardMatches(m, "nike*", nike));
  EXPECT_TRUE(regexMatches(m, "nike", nike));
  EXPECT_TRUE(regexMatches(m, gbk(u8"ｎｉｋｅ"), gbk(u8"ＮＩＫＥ运动")));
  m.setPattern("nike", false, true, false);
  EXPECT_EQ(m.countMatches(nike), 0);
}

TEST(RegexMatcherTest, WildcardIsUnanchoredWithLiteralQuestionMarkAndAlternation) {
  RegexMatcher m;
  EXPECT_TRUE(wildcardMatches(m, gbk(u8"阿迪"), gbk(u8"新款阿迪鞋")));
  EXPECT_TRUE(wildcardMatches(m, gbk(u8"阿?达"), gbk(u8"阿?达鞋")));
  EXPECT_FALSE(wildcardMatches(m, gbk(u8"阿?达"), gbk(u8"阿达")));
  EXPECT_FALSE(wildcardMatches(m, gbk(u8"阿?达"), gbk(u8"阿迪达")));
  EXPECT_FALSE(wildcardMatches(m, "a.b", "axb"));
  EXPECT_TRUE(wildcardMatches(m, gbk(u8"阿迪|耐克"), gbk(u8"耐克运动鞋")));
  EXPECT_TRUE(wildcardMatches(m, gbk(u8"阿迪|耐克"), gbk(u8"阿迪")));
  EXPECT_FALSE(wildcardMatches(m, gbk(u8"阿迪|耐克"), gbk(u8"李宁")));
  EXPECT_TRUE(wildcardMatches(m, gbk(u8"誠*"), gbk(u8"誠実")));
}

TEST(RegexMatcherTest, AnchorsAndDotCountCharactersNotBytes) {
  RegexMatcher m;
  EXPECT_TRUE(regexMatches(m, gbk(u8"^阿迪"), kTarget));
  EXPECT_FALSE(regexMatches(m, gbk(u8"^阿迪"), gbk(u8"新阿迪")));
  EXPECT_TRUE(regexMatches(m, gbk(u8"鞋$"), kTarget));
  EXPECT_FALSE(regexMatches(m, gbk(u8"鞋$"), gbk(u8"鞋子")));
  EXPECT_TRUE(regexMatches(m, gbk(u8"^男.鞋$"), gbk(u8"男式鞋")));
  EXPECT_FALSE(regexMatches(m, gbk(u8"^男..鞋$"), gbk(u8"男式鞋")));
  // Keywords are whole lines; a lone CR inside one still ends a line for ^ and $.
  EXPECT_TRUE(regexMatches(m, "^b", "a\rb"));
  m.setPattern("^b", true, false, false);
  EXPECT_EQ(m.countMatches("a\rb"), 0);
}

TEST(RegexMatcherTest, EmptyPatternKeepsThePreviousOneWithTheNewFlags) {
  RegexMatcher m;
  // Before any pattern the initial empty pattern matches every keyword.
  EXPECT_EQ(m.countMatches(kTarget), 1);
  EXPECT_EQ(m.countMatches(""), 1);
  EXPECT_TRUE(m.setPattern("", true, true, false));
  EXPECT_EQ(m.countMatches("x"), 1);

  m.setPattern(gbk(u8"鞋$"), true, true, false);
  EXPECT_TRUE(m.setPattern("", true, true, false));
  EXPECT_EQ(m.countMatches(kTarget), 1);
  EXPECT_EQ(m.countMatches(gbk(u8"鞋子")), 0);

  m.setPattern("NIKE", false, true, false);
  EXPECT_EQ(m.countMatches("nike"), 0);
  m.setPattern("", true, true, false);  // flags change, pattern stays
  EXPECT_EQ(m.countMatches("nike"), 1);
}

TEST(RegexMatcherTest, InvalidPatternMatchesNothingAndReportsWhereItFailed) {
  RegexMatcher m;
  EXPECT_TRUE(m.setPattern(gbk(u8"(阿迪"), true, true, false));
  EXPECT_EQ(m.countMatches(kTarget), 0);
  EXPECT_EQ(m.countMatches(gbk(u8"(阿迪")), 0);
  EXPECT_FALSE(m.errorText().empty());
  EXPECT_EQ(m.errorOffset(), 0u);

  m.setPattern(gbk(u8"阿迪[男"), true, true, false);
  EXPECT_EQ(m.errorOffset(), 2u);  // characters, not bytes
  m.setPattern(gbk(u8"阿迪*+"), true, true, false);
  EXPECT_EQ(m.errorOffset(), 3u);
  // An error PCRE2 finds is pointed back into the pattern as typed.
  m.setPattern(gbk(u8"阿迪(?<=a+)"), true, true, false);
  EXPECT_FALSE(m.errorText().empty());
  EXPECT_EQ(m.errorOffset(), 2u);

  // An empty query keeps the invalid pattern, and with it the error.
  m.setPattern("", true, true, false);
  EXPECT_EQ(m.countMatches(kTarget), 0);
  EXPECT_FALSE(m.errorText().empty());

  // Nesting deep enough to exhaust a recursive parser is an error, not a crash.
  m.setPattern(std::string(100000, '(') + std::string(100000, ')'), true, true, false);
  EXPECT_FALSE(m.errorText().empty());
  EXPECT_EQ(m.errorOffset(), 250u);

  m.setPattern(gbk(u8"阿迪"), true, true, false);
  EXPECT_TRUE(m.errorText().empty());
  EXPECT_EQ(m.countMatches(kTarget), 1);
}

TEST(RegexMatcherTest, RunawayBacktrackingStopsAtTheLimitAndIsCounted) {
  RegexMatcher m;
  const std::string runaway = std::string(40, 'a') + "!";
  for (const char* pattern : {"(a+)+$", "(.*)*\\d", "(a|aa)+$"}) {
    m.setPattern(pattern, true, true, false);
    EXPECT_EQ(m.limitHitCount(), 0);
    EXPECT_EQ(m.countMatches(runaway), 0) << pattern;
    EXPECT_EQ(m.countMatches(runaway), 0) << pattern;
    EXPECT_EQ(m.limitHitCount(), 2) << pattern;
  }
  m.setPattern("(a+)+$", true, true, false);
  EXPECT_EQ(m.countMatches("aaa"), 1);
  EXPECT_EQ(m.countMatches("aab"), 0);
  EXPECT_EQ(m.limitHitCount(), 0);
  m.setPattern("(a+)+$", true, true, false);  // same pattern: the count starts again all the same
  EXPECT_EQ(m.limitHitCount(), 0);
}

TEST(RegexMatcherTest, GlobalCountsEveryMatchAndStepsOverEmptyOnes) {
  RegexMatcher m;
  m.setPattern("a", true, true, true);
  EXPECT_EQ(m.countMatches("aXaYA"), 3);
  m.setPattern("x*", true, true, true);
  EXPECT_EQ(m.countMatches("ab"), 3);  // before a, before b, at the end
  m.setPattern(gbk(u8"鞋"), true, true, true);
  EXPECT_EQ(m.countMatches(gbk(u8"鞋鞋男鞋")), 3);
  m.setPattern(gbk(u8"鞋"), true, true, false);
  EXPECT_EQ(m.countMatches(gbk(u8"鞋鞋男鞋")), 1);
}

TEST(RegexMatcherTest, LineStartPatternsJudgedByTheFirstCharacterStillSeeEveryLineStart) {
  RegexMatcher m;
  m.setPattern("^[a-z]+\\d", true, true, false);
  EXPECT_EQ(m.countMatches("Ab1"), 1);
  EXPECT_EQ(m.countMatches(gbk(u8"阿ab1")), 0);
  EXPECT_EQ(m.countMatches(gbk(u8"阿\rab1")), 1);  // a CR starts another line
  EXPECT_EQ(m.countMatches(""), 0);
  m.setPattern("^[a-z]+\\d", false, true, false);
  EXPECT_EQ(m.countMatches("Ab1"), 0);
  EXPECT_EQ(m.countMatches("ab1"), 1);
  m.setPattern("^[^a]", true, true, false);
  EXPECT_EQ(m.countMatches(gbk(u8"阿")), 1);
  EXPECT_EQ(m.countMatches("A"), 0);
  m.setPattern(gbk(u8"^\\s"), true, true, false);
  EXPECT_EQ(m.countMatches(gbk(u8"　全角")), 1);  // U+3000 is a space
  m.setPattern(gbk(u8"^°"), true, true, false);
  EXPECT_EQ(m.countMatches(gbk(u8"°C")), 1);
}

TEST(RegexMatcherTest, ConstructsTheEngineCannotRunAreToldFromInvalidPatterns) {
  const struct {
    const char* pattern;
    bool compiles;
    bool unsupported;
    std::size_t offset;
  } cases[] = {
      {"x(?<=a+)b", false, true, 1}, {"(?<!a|bc*)", false, true, 0}, {"a{65536}", false, true, 1},
      {"a{70000,}", false, true, 1}, {"(?<=ab|c)d", true, false, 0}, {"a{65535}", true, false, 0},
      {"(a", false, false, 0},       {"a{2,1}", false, false, 1},     {"(?<=a)+", false, false, 0},
  };
  RegexMatcher m;
  for (const auto& c : cases) {
    m.setPattern(c.pattern, true, true, false);
    EXPECT_EQ(m.errorText().empty(), c.compiles) << c.pattern;
    EXPECT_EQ(m.errorIsUnsupported(), c.unsupported) << c.pattern;
    EXPECT_EQ(m.errorOffset(), c.offset) << c.pattern;
  }
}

// A blank line may be the first keyword a matcher sees.
TEST(RegexMatcherTest, EmptyKeywordFirstMatchesWhatMatchesEmptyText) {
  for (const char* pattern : {"^$", "a*", "(?:)", "^", "$", "\\B", "(?<g>^[^0-9A]*)|cx\\S", "(a)|^b*"}) {
    RegexMatcher m;
    m.setPattern(pattern, true, true, false);
    EXPECT_EQ(m.countMatches(""), 1) << pattern;
  }
  RegexMatcher fresh;
  EXPECT_EQ(fresh.countMatches(""), 1);  // the initial empty pattern
}

// The term after ^ is a group or lookaround: the first-character shortcut
// must not use a class read inside it.
TEST(RegexMatcherTest, LineStartShortcutIgnoresClassesInsideGroupsAndLookarounds) {
  const struct {
    const char* pattern;
    int matching;  // of bcd, abc, xyz
  } cases[] = {{"^(?:b|[a])", 2}, {"^(?![a])", 2}, {"^([a]?)", 3}, {"^(?:x|\\d)", 1},
               {"^(?=[a])", 1},   {"^(?:[a])?b", 2}, {"^(?<=[a])", 0}, {"^[a]?b", 2}};
  RegexMatcher m;
  for (const auto& c : cases) {
    m.setPattern(c.pattern, true, true, false);
    int matching = 0;
    for (const char* keyword : {"bcd", "abc", "xyz"}) matching += m.countMatches(keyword);
    EXPECT_EQ(matching, c.matching) << c.pattern;
  }
}

// Memory functions that always fail, so the engine cannot be constructed.
void* refuse(std::size_t, void*) { return nullptr; }
void release(void*, void*) {}

TEST(RegexMatcherTest, WithoutAnEngineEverythingMatchesNothing) {
  RegexMatcher m(RegexMatcher::EngineMemory{refuse, release, nullptr});
  EXPECT_FALSE(m.engineAvailable());
  EXPECT_EQ(m.countMatches(kTarget), 0);
  EXPECT_TRUE(m.setPattern(wildcardToPattern(gbk(u8"*男式*")), true, true, false));
  EXPECT_EQ(m.countMatches(kTarget), 0);
  EXPECT_TRUE(m.setPattern(gbk(u8"阿迪达斯.*鞋"), true, true, false));
  EXPECT_EQ(m.countMatches(kTarget), 0);
  EXPECT_FALSE(m.matches(kTarget));
  EXPECT_EQ(m.prefilter(), nullptr);
}

}  // namespace
}  // namespace kx
