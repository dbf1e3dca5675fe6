#pragma once

#include "platform/Wallpaper.h"

#include <memory>

namespace tavorin {

// The wallpaper service of the desktop this program runs on.
std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper();
// moduleFolder: where libtavorin-gio.so is (the program folder); the one
// above takes the running program's folder.
std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper(const QString& moduleFolder);

} // namespace tavorin
