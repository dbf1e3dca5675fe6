#pragma once

#include <QPixmap>

namespace tavorin {

// The about dialog's pictures, drawn rather than shipped: a framed
// landscape (a wallpaper on a screen) and a small emblem.
QPixmap AboutPicture(int size = 96);
QPixmap AboutEmblem(int size = 32);

} // namespace tavorin
