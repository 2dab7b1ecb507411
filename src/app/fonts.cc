#include "app/fonts.h"

#include <QStringList>

namespace kx::app {
namespace {

// Faces tried after the wanted one; the first installed one is used.
QStringList cjkFallbacks() {
  return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
          QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Sans SC"),
          QStringLiteral("Droid Sans Fallback"), QStringLiteral("Microsoft YaHei")};
}

QFont cjkFont(QStringList families, int pixelSize, bool bold) {
  families << cjkFallbacks();
  QFont font;
  font.setFamilies(families);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace

QFont songFont(int pixelSize, bool bold) {
  return cjkFont({QStringLiteral("SimSun"), QStringLiteral(u"宋体"), QStringLiteral("NSimSun")}, pixelSize, bold);
}

QFont heiFont(int pixelSize, bool bold) {
  return cjkFont({QStringLiteral("SimHei"), QStringLiteral(u"黑体")}, pixelSize, bold);
}

}  // namespace kx::app
