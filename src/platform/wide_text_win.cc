#include "platform/wide_text.h"

#include <windows.h>

namespace kx {

std::wstring toWide(std::string_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int len = static_cast<int>(text.size());
  int n = ::MultiByteToWideChar(codePage, 0, text.data(), len, nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), len, out.data(), n);
  return out;
}

std::string fromWide(std::wstring_view text, unsigned codePage) {
  if (text.empty()) return {};
  const int len = static_cast<int>(text.size());
  int n = ::WideCharToMultiByte(codePage, 0, text.data(), len, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), len, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace kx
