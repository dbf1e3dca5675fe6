// libtavorin-gio.so: the plain C entry points over GIO.
#include "platform/gio/GioEntry.h"

#include "platform/GioShell.h"
#include "platform/wallpaper/GSettingsWallpaper.h"

extern "C" {

__attribute__((visibility("default"))) tavorin::IShell* tavorin_gio_make_shell() {
    return new tavorin::GioShell;
}

// family: a GSettingsFamily value.
__attribute__((visibility("default"))) tavorin::WallpaperBackend*
tavorin_gio_make_gsettings_wallpaper(int family) {
    return new tavorin::GSettingsWallpaper(static_cast<tavorin::GSettingsFamily>(family));
}
}
