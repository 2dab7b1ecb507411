#include "config/value_forms.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "config/gbk_words.h"

#ifdef _WIN32
#include <locale.h>
#else
#include <locale.h>
#include <stdlib.h>
#endif

namespace kx {
namespace {

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (;;) {
    std::size_t hit = text.find(from, pos);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(pos, hit - pos));
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text.substr(pos));
  return out;
}

double strtodC(const char* s, char** end) {
#ifdef _WIN32
  static _locale_t c = _create_locale(LC_ALL, "C");
  return _strtod_l(s, end, c);
#else
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return strtod_l(s, end, c);
#endif
}

// Reads an optionally signed decimal field followed by marker at pos.
bool readField(std::string_view s, std::size_t& pos, std::string_view marker, int& out) {
  std::size_t p = pos;
  bool negative = false;
  if (p < s.size() && (s[p] == '-' || s[p] == '+')) negative = s[p++] == '-';
  std::size_t digits = p;
  long long v = 0;
  while (p < s.size() && s[p] >= '0' && s[p] <= '9') {
    if (v < INT_MAX) v = v * 10 + (s[p] - '0');
    ++p;
  }
  if (p == digits || s.substr(p, marker.size()) != marker) return false;
  if (v > INT_MAX) v = INT_MAX;
  out = static_cast<int>(negative ? -v : v);
  pos = p + marker.size();
  return true;
}

}  // namespace

std::string escapeLineBreaks(std::string_view text) { return replaceAll(text, "\r\n", gbk::kLineBreakEscape); }

std::string unescapeLineBreaks(std::string_view stored) {
  return replaceAll(stored, gbk::kLineBreakEscape, "\r\n");
}

std::string formatNumber(double value) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 13);
  return std::string(buf, res.ptr);
}

std::string foldFullWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    auto b = static_cast<unsigned char>(text[i]);
    if (b >= 0x80 && i + 1 < text.size()) {
      auto t = static_cast<unsigned char>(text[i + 1]);
      if (b == 0xA3 && t >= 0xA1 && t <= 0xFE) {
        out += static_cast<char>(t - 0x80);
      } else if (b == 0xA1 && t == 0xA1) {
        out += ' ';
      } else {
        out += text[i];
        out += text[i + 1];
      }
      i += 2;
    } else {
      out += text[i];
      ++i;
    }
  }
  return out;
}

double parseNumber(std::string_view text) {
  std::string ascii = foldFullWidth(text);  // also gives the NUL strtod needs
  // Hexadecimal ("0x1A") is read here rather than by strtod, whose Windows
  // runtime does not read it: a settings file reads the same on both.
  const char* p = ascii.c_str();
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]))) {
    double hex = 0;
    std::from_chars(p + 2, ascii.c_str() + ascii.size(), hex, std::chars_format::hex);
    return negative ? -hex : hex;
  }
  char* end = nullptr;
  double v = strtodC(ascii.c_str(), &end);
  return end == ascii.c_str() ? 0.0 : v;
}

std::string_view formatFlag(bool value) { return value ? gbk::kTrue : gbk::kFalse; }

std::string formatDateTime(const DateTime& v) {
  auto field = [](int n, std::string_view unit) { return std::to_string(n) + std::string(unit); };
  std::string out = field(v.year, gbk::kYear) + field(v.month, gbk::kMonth) + field(v.day, gbk::kDay);
  if (v.second != 0) {
    out += field(v.hour, gbk::kHour) + field(v.minute, gbk::kMinute) + field(v.second, gbk::kSecond);
  } else if (v.minute != 0) {
    out += field(v.hour, gbk::kHour) + field(v.minute, gbk::kMinute);
  } else if (v.hour != 0) {
    out += field(v.hour, gbk::kHour);
  }
  return out;
}

DateTime parseDateTime(std::string_view text) {
  DateTime v;
  std::size_t pos = 0;
  int* fields[] = {&v.year, &v.month, &v.day, &v.hour, &v.minute, &v.second};
  const std::string_view units[] = {gbk::kYear, gbk::kMonth, gbk::kDay,
                                    gbk::kHour, gbk::kMinute, gbk::kSecond};
  for (int i = 0; i < 6; ++i)
    if (!readField(text, pos, units[i], *fields[i])) break;
  return v;
}

std::string textBetween(std::string_view text, std::string_view left, std::string_view right) {
  std::string t;
  std::string l(left), r(right);
  if (l.empty()) {
    t = std::string(gbk::kHeadSentinel);
    l = std::string(gbk::kHeadSentinel);
  }
  t.append(text);
  if (r.empty()) {
    t.append(gbk::kTailSentinel);
    r = std::string(gbk::kTailSentinel);
  }
  l = replaceAll(l, "''", "\"");
  r = replaceAll(r, "''", "\"");
  auto attempt = [&t](const std::string& lm, const std::string& rm, std::string& out) {
    std::size_t a = t.find(lm);
    if (a == std::string::npos) return false;
    std::size_t start = a + lm.size();
    std::size_t b = t.find(rm, start);
    if (b == std::string::npos) return false;
    out = t.substr(start, b - start);
    return true;
  };
  std::string out;
  if (attempt(l, r, out)) return out;
  if (attempt(replaceAll(l, "\"", ""), replaceAll(r, "\"", ""), out)) return out;
  return {};
}

int truncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace kx
