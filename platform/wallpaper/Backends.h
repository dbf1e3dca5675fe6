#pragma once

#include "platform/wallpaper/DesktopDetect.h"
#include "platform/wallpaper/ProcessRunner.h"
#include "platform/wallpaper/WallpaperBackend.h"

#include <QByteArray>
#include <QDBusConnection>

#include <memory>

namespace tavorin {

// What the backends talk to; tests put private buses and recorders here.
struct BackendServices {
    IProcessRunner& runner;
    QDBusConnection bus;
    QString linkFolder;   // where sway gets plain-named links
    QByteArray display;   // X display name, empty = $DISPLAY
    QString moduleFolder; // where libtavorin-gio.so is (the GSettings desktops)
};

// The backend for the session's desktop: its own service when the desktop
// is known, the root window on plain X11 otherwise. Null (with error) under
// Wayland without a known desktop, or with no display at all.
std::unique_ptr<WallpaperBackend> MakeWallpaperBackend(const DesktopSession& session,
                                                       const BackendServices& services,
                                                       QString* error);

} // namespace tavorin
