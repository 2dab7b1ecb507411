// GBK bytes to and from Qt's text, for what the window shows and reads.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace kx::app {

// The text of GBK bytes; pairs the code page does not map show as U+FFFD.
QString gbkToQString(std::string_view gbk);

// The GBK bytes of text. A character GBK cannot hold becomes "?", so a query
// typed with one finds what a user would expect rather than nothing at all.
std::string qStringToGbk(const QString& text);

// A file path as the core takes it: UTF-8 with the platform's separators
// (Windows' ANSI code page could not hold every folder name).
std::string filePathBytes(const QString& path);

}  // namespace kx::app
