#include "config/value_forms.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "config_test_util.h"

namespace kx {
namespace {

using test::g;

TEST(ValueForms, LineBreakEscape) {
  EXPECT_EQ(escapeLineBreaks("a\r\nb"), "a" + g("┊*┊") + "b");
  EXPECT_EQ(g("┊*┊"), std::string("\xA9\xAE*\xA9\xAE"));
  EXPECT_EQ(escapeLineBreaks("a\rb\nc"), "a\rb\nc");  // lone CR and LF stay
  EXPECT_EQ(unescapeLineBreaks(g("x┊*┊y┊*┊")), "x\r\ny\r\n");
  EXPECT_EQ(unescapeLineBreaks(escapeLineBreaks("\r\n\r\n")), "\r\n\r\n");
}

TEST(ValueForms, NumberFormatIsPercentPoint13g) {
  EXPECT_EQ(formatNumber(0), "0");
  EXPECT_EQ(formatNumber(27), "27");
  EXPECT_EQ(formatNumber(-3), "-3");
  EXPECT_EQ(formatNumber(0.1), "0.1");
  EXPECT_EQ(formatNumber(1234.9), "1234.9");
  EXPECT_EQ(formatNumber(1.0 / 3), "0.3333333333333");
  EXPECT_EQ(formatNumber(1e20), "1e+20");
  EXPECT_EQ(formatNumber(9315520), "9315520");
  EXPECT_EQ(formatNumber(1e-5), "1e-05");
  EXPECT_EQ(formatNumber(1234567890123.0), "1234567890123");
  EXPECT_EQ(formatNumber(12345678901234.0), "1.234567890123e+13");
}

// A Qt program runs with setlocale(LC_ALL, ""); a German locale writes and
// reads "0,5". The stored forms must not follow it. Uses an installed
// de_DE.UTF-8, or builds one with localedef into a temporary LOCPATH.
TEST(ValueForms, NumberFormatIgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  test::TempDir dir;
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    const std::string cmd = "localedef -i de_DE -f UTF-8 '" + dir.file("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) == 0) {
      test::setEnv("LOCPATH", dir.path().c_str());
      std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
  }
  const char* now = std::setlocale(LC_NUMERIC, nullptr);
  if (!now || std::string(now).find("de_DE") == std::string::npos) {
    test::setEnv("LOCPATH", nullptr);
    GTEST_SKIP() << "no de_DE.UTF-8 locale and no localedef to build one";
  }
  char probe[32];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  EXPECT_STREQ(probe, "0,5");  // the locale is really in force
  EXPECT_EQ(formatNumber(0.5), "0.5");
  EXPECT_DOUBLE_EQ(parseNumber("0.5"), 0.5);
  EXPECT_DOUBLE_EQ(parseNumber("0,5"), 0);
  std::setlocale(LC_ALL, saved.c_str());
  test::setEnv("LOCPATH", nullptr);
}

TEST(ValueForms, NumberReaderTakesTheLeadingNumber) {
  EXPECT_DOUBLE_EQ(parseNumber("3"), 3);
  EXPECT_DOUBLE_EQ(parseNumber("  42abc"), 42);
  EXPECT_DOUBLE_EQ(parseNumber("abc"), 0);
  EXPECT_DOUBLE_EQ(parseNumber(""), 0);
  EXPECT_DOUBLE_EQ(parseNumber("-1.5e2x"), -150);
  EXPECT_DOUBLE_EQ(parseNumber("0x1A"), 26);  // strtod reads hexadecimal too
  EXPECT_DOUBLE_EQ(parseNumber("1234.9"), 1234.9);
}

TEST(ValueForms, NumberReaderTakesFullWidthFormsAsAscii) {
  EXPECT_DOUBLE_EQ(parseNumber(g("１２３")), 123);
  EXPECT_DOUBLE_EQ(parseNumber(g("－４．５")), -4.5);
  EXPECT_DOUBLE_EQ(parseNumber(g("　　７")), 7);  // ideographic spaces as blanks
  EXPECT_DOUBLE_EQ(parseNumber(g("阿１")), 0);    // another character first
  EXPECT_EQ(foldFullWidth(g("ＡＢ阿")), "AB" + g("阿"));
  EXPECT_EQ(foldFullWidth("\xA3"), "\xA3");  // a lone lead byte at the end stays
}

TEST(ValueForms, Flags) {
  EXPECT_EQ(formatFlag(true), g("真"));
  EXPECT_EQ(formatFlag(false), g("假"));
}

TEST(ValueForms, DateTimeForms) {
  EXPECT_EQ(formatDateTime({2024, 3, 5, 0, 0, 0}), g("2024年3月5日"));
  EXPECT_EQ(formatDateTime({2024, 3, 5, 7, 0, 0}), g("2024年3月5日7时"));
  EXPECT_EQ(formatDateTime({2024, 3, 5, 7, 8, 0}), g("2024年3月5日7时8分"));
  EXPECT_EQ(formatDateTime({2024, 3, 5, 0, 0, 9}), g("2024年3月5日0时0分9秒"));
  EXPECT_EQ(formatDateTime({2024, 3, 5, 0, 8, 0}), g("2024年3月5日0时8分"));
  for (DateTime d : {DateTime{2024, 3, 5, 0, 0, 0}, DateTime{1999, 12, 31, 23, 59, 58},
                     DateTime{2000, 1, 1, 5, 0, 0}, DateTime{2000, 1, 1, 0, 30, 0}})
    EXPECT_EQ(parseDateTime(formatDateTime(d)), d);
  EXPECT_EQ(parseDateTime(g("2024年3月")), (DateTime{2024, 3, 0, 0, 0, 0}));
  EXPECT_EQ(parseDateTime("garbage"), DateTime{});
}

TEST(ValueForms, TextBetween) {
  EXPECT_EQ(textBetween("[abc]x", "[", "]"), "abc");
  EXPECT_EQ(textBetween("key=value", "", "="), "key");
  EXPECT_EQ(textBetween("key=value", "=", ""), "value");
  EXPECT_EQ(textBetween("abc", "", ""), "abc");
  EXPECT_EQ(textBetween("no marker", "[", "]"), "");
  EXPECT_EQ(textBetween("a]b[c]", "[", "]"), "c");  // right is searched after left
  EXPECT_EQ(textBetween("say \"hi\" now", "''", "''"), "hi");
  EXPECT_EQ(textBetween("say <hi> now", "''<", ">''"), "hi");  // retried without quotes
}

TEST(ValueForms, TruncateToInt) {
  EXPECT_EQ(truncateToInt(1234.9), 1234);
  EXPECT_EQ(truncateToInt(-2.7), -2);
  EXPECT_EQ(truncateToInt(std::nan("")), 0);
  EXPECT_EQ(truncateToInt(1e300), 2147483647);
}

}  // namespace
}  // namespace kx
