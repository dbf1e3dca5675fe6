#pragma once

#include "platform/Wallpaper.h"

#include <memory>

namespace tavorin {

// The wallpaper service of the desktop this program runs on.
std::unique_ptr<IDesktopWallpaper> MakeDesktopWallpaper();

} // namespace tavorin
