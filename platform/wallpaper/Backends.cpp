// What the wallpaper backends talk to: buses, programs and the X server.
#include "platform/wallpaper/Backends.h"

#include "platform/GioModule.h"
#include "platform/wallpaper/CommandWallpapers.h"
#include "platform/wallpaper/GSettingsFamily.h"
#include "platform/wallpaper/KdeWallpaper.h"
#include "platform/wallpaper/X11RootWallpaper.h"
#include "platform/wallpaper/XfceWallpaper.h"

namespace tavorin {

std::unique_ptr<WallpaperBackend> MakeWallpaperBackend(const DesktopSession& session,
                                                       const BackendServices& services,
                                                       QString* error) {
    switch (session.desktop) {
    case Desktop::Gnome:
    case Desktop::Unity:
    case Desktop::Budgie:
        return MakeGioModuleWallpaper(GSettingsFamily::Gnome, services.moduleFolder);
    case Desktop::Cinnamon:
        return MakeGioModuleWallpaper(GSettingsFamily::Cinnamon, services.moduleFolder);
    case Desktop::Mate:
        return MakeGioModuleWallpaper(GSettingsFamily::Mate, services.moduleFolder);
    case Desktop::Kde:
        return std::make_unique<KdeWallpaper>(services.bus);
    case Desktop::Xfce:
        return std::make_unique<XfceWallpaper>(services.bus);
    case Desktop::Lxqt:
        return std::make_unique<LxqtWallpaper>(services.runner);
    case Desktop::Lxde:
        return std::make_unique<LxdeWallpaper>(services.runner);
    case Desktop::Sway:
        return std::make_unique<SwayWallpaper>(services.runner, services.linkFolder);
    case Desktop::Unknown:
        break;
    }
    if (session.PlainX11())
        return std::make_unique<X11RootWallpaper>(services.display);
    Fail(error, session.wayland
                    ? QStringLiteral("no desktop this program knows runs in this Wayland "
                                     "session: it has no wallpaper to set")
                    : QStringLiteral("no desktop and no X display"));
    return nullptr;
}

} // namespace tavorin
