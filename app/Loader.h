#pragma once

#include <QString>

namespace tavorin {

class IDesktopWallpaper;
class IRegistryStore;
class ProgramFolder;

// The companion starter's work, in order: tell the program that this is
// a log-on start, put the recorded classic wallpaper back on the screen,
// and start the program from the same folder. False when the program
// could not be started.
bool RunLoader(const ProgramFolder& folder, IRegistryStore& registry, IDesktopWallpaper& wallpaper);

// Writes "Loader" = "1" in the program folder's settings.
bool SignalLogOnStart(const ProgramFolder& folder);

// Applies the classic wallpaper recorded by the last change, if any.
void ReapplyClassicWallpaper(IRegistryStore& registry, IDesktopWallpaper& wallpaper);

} // namespace tavorin
