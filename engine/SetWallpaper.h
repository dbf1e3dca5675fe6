#pragma once

#include "settings/Module1.h"

#include <QString>

namespace tavorin {

// Makes a picture the desktop wallpaper, by "Settings"/"Machine":
// 1 the desktop's own wallpaper service (stretched); 2 the classic
// wallpaper, converted first to "Temp.bmp" while "Convert" is not 0.
// Errors show "Image not found:'<path>'". path is in-out: after a
// conversion it holds the bitmap's path.
void Set_Wallpaper(const Module1& m, QString& path);

// Method 1: the desktop's own wallpaper service. False on refusal.
bool SetActiveDesktopWallpaper(const Module1& m, const QString& path, int style);

} // namespace tavorin
