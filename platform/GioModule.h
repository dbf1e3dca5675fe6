#pragma once

#include "platform/Shell.h"
#include "platform/wallpaper/WallpaperBackend.h"

#include <QString>

#include <memory>

namespace tavorin {

enum class GSettingsFamily;

// The parts that need GIO (opening documents, the GSettings wallpaper) live
// in libtavorin-gio.so in the program folder, loaded on first use: the
// program starts and waits in the background without the GIO libraries.

// The module's file name in the program folder.
QString GioModuleFileName();

// An IShell that loads the module from folder when a document is first
// opened. Without the module nothing opens (the shell's "other failure").
std::unique_ptr<IShell> MakeGioModuleShell(const QString& folder);

// The GSettings wallpaper of that family, loaded from the module in folder
// when first applied; Apply fails with the loader's reason when the module
// is missing.
std::unique_ptr<WallpaperBackend> MakeGioModuleWallpaper(GSettingsFamily family,
                                                         const QString& folder);

} // namespace tavorin
