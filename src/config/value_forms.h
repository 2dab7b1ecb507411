// The stored text forms of the typed values and the marker search of the
// listing operations.
// All texts are GBK byte strings.
#pragma once

#include <string>
#include <string_view>

namespace kx {

// Text: every CR LF becomes "┊*┊"; lone CR and LF stay.
std::string escapeLineBreaks(std::string_view text);
// The reverse: every "┊*┊" becomes CR LF.
std::string unescapeLineBreaks(std::string_view stored);

// Number: printf "%.13g" in the "C" locale, whatever locale the process has.
std::string formatNumber(double value);

// The leading decimal number of text as strtod reads it in the "C" locale,
// after full-width ASCII forms (lead byte A3) have been taken as ASCII and the
// ideographic space (A1 A1) as a blank; 0 when the text does not begin with
// a number (blanks first are allowed, as for strtod).
double parseNumber(std::string_view text);

// The full-width-to-ASCII step of parseNumber on its own.
std::string foldFullWidth(std::string_view text);

// Flag: "真" or "假".
std::string_view formatFlag(bool value);

struct DateTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// "%d年%d月%d日", then "%d时%d分%d秒" when the seconds are non-zero, else
// "%d时%d分" when the minutes are, else "%d时" when the hour is, else nothing.
std::string formatDateTime(const DateTime& value);

// The same form read back, field by field from the year on: a field is a
// decimal number (optionally signed) followed by its character; reading stops
// at the first field that does not fit, and the fields not read are zero.
DateTime parseDateTime(std::string_view text);

// The text between the first occurrence of left and the first occurrence of
// right after it. An empty left marker stands
// for the start of the text and an empty right marker for its end; in a
// marker two apostrophes stand for one double quote; when nothing is found
// the search is made once more with every double quote removed from both
// markers. Empty when nothing is found.
std::string textBetween(std::string_view text, std::string_view left, std::string_view right);

// Whole number from a stored double: toward zero, NaN as 0, clamped to the
// int range.
int truncateToInt(double value);

}  // namespace kx
