// UTF-8 and code page text to and from the UTF-16 that Win32 calls take.
#pragma once
#ifdef _WIN32

#include <string>
#include <string_view>

namespace kx {

// UTF-8 (or, with codePage, text of that code page) to UTF-16.
std::wstring toWide(std::string_view text, unsigned codePage = 65001);

// UTF-16 to UTF-8 (or to the given code page; characters it cannot hold
// become the code page's default character).
std::string fromWide(std::wstring_view text, unsigned codePage = 65001);

}  // namespace kx

#endif
