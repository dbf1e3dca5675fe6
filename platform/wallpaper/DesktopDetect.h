#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace tavorin {

// The desktops whose wallpaper this program knows how to set.
enum class Desktop { Unknown, Gnome, Unity, Budgie, Cinnamon, Mate, Kde, Xfce, Lxqt, Lxde, Sway };

// The running session as its environment describes it.
struct DesktopSession {
    Desktop desktop = Desktop::Unknown;
    bool wayland = false; // a Wayland session (WAYLAND_DISPLAY or XDG_SESSION_TYPE)
    bool x11 = false;     // an X server is reachable (DISPLAY)

    // Plain X11: the root window is what the user sees.
    bool PlainX11() const { return x11 && !wayland; }
};

// Which desktop runs, from XDG_CURRENT_DESKTOP (a colon-separated list, the
// first known entry wins), then XDG_SESSION_DESKTOP, DESKTOP_SESSION and
// SWAYSOCK.
DesktopSession DetectDesktop(const QProcessEnvironment& env);

// The desktop one name of those variables stands for, Unknown when none.
Desktop DesktopFromName(const QString& name);

QString DesktopName(Desktop desktop);

} // namespace tavorin
