// The two typefaces the window is drawn in, 宋体 and 黑体, with installed CJK
// faces standing in where those are missing so captions never show as boxes.
#pragma once

#include <QFont>

namespace kx::app {

// 宋体 at a character height of pixelSize pixels.
QFont songFont(int pixelSize, bool bold = false);

// 黑体 at a character height of pixelSize pixels.
QFont heiFont(int pixelSize, bool bold = false);

}  // namespace kx::app
