// The program's own pictures, painted at run time: the banner icons, the logo
// and the window icon.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace kx::app {

enum class BannerIcon { Save, Help, Home, Contact, MoreSoftware, BatchTool };

// A 64 x 64 banner icon on a transparent ground.
QPixmap bannerIcon(BannerIcon icon);

// The 145 x 64 logo of the banner.
QPixmap logoPicture();

// The program's icon, a magnifier over text lines, at several sizes. (Named
// apart from QWidget::windowIcon, which a window's own code would call.)
QIcon programIcon();

}  // namespace kx::app
