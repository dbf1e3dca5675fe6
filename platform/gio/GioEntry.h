#pragma once

// The plain C entry points of libtavorin-gio.so. The objects they return
// are deleted by the caller through their virtual destructors.

namespace tavorin {
class IShell;
class WallpaperBackend;

using GioMakeShellFn = IShell* (*)();
using GioMakeWallpaperFn = WallpaperBackend* (*)(int family);

inline constexpr char kGioMakeShell[] = "tavorin_gio_make_shell";
inline constexpr char kGioMakeWallpaper[] = "tavorin_gio_make_gsettings_wallpaper";
} // namespace tavorin
