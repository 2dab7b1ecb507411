#include "app/gbk_qt.h"

#include <QDir>
#include <QFile>
#include <QList>

#include "text/gbk_codec.h"

namespace kx::app {

QString gbkToQString(std::string_view gbk) {
  std::u16string utf16;
  utf16.reserve(gbk.size());
  kx::appendGbkAsUtf16(gbk, utf16);
  return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

std::string qStringToGbk(const QString& text) {
  const std::u16string_view utf16(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
  if (auto gbk = kx::utf16ToGbk(utf16)) return *std::move(gbk);
  std::string out;
  for (const char32_t cp : text.toUcs4()) {
    char bytes[2];
    const int n = kx::unicodeToGbk(cp, bytes);
    if (n == 0) {
      out.push_back('?');
    } else {
      out.append(bytes, static_cast<std::size_t>(n));
    }
  }
  return out;
}

std::string filePathBytes(const QString& path) {
#ifdef _WIN32
  return QDir::toNativeSeparators(path).toStdString();
#else
  return QFile::encodeName(path).toStdString();
#endif
}

}  // namespace kx::app
