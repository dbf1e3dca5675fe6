// Which desktop runs, from the session's environment.
#include "platform/wallpaper/DesktopDetect.h"

#include <QHash>

namespace tavorin {

Desktop DesktopFromName(const QString& name) {
    static const QHash<QString, Desktop> known = {
        {QStringLiteral("gnome"), Desktop::Gnome},
        {QStringLiteral("gnome-classic"), Desktop::Gnome},
        {QStringLiteral("gnome-flashback"), Desktop::Gnome},
        {QStringLiteral("gnome-xorg"), Desktop::Gnome},
        {QStringLiteral("gnome-wayland"), Desktop::Gnome},
        {QStringLiteral("ubuntu"), Desktop::Gnome},
        {QStringLiteral("ubuntu-wayland"), Desktop::Gnome},
        {QStringLiteral("pop"), Desktop::Gnome},
        {QStringLiteral("unity"), Desktop::Unity},
        {QStringLiteral("budgie"), Desktop::Budgie},
        {QStringLiteral("budgie-desktop"), Desktop::Budgie},
        {QStringLiteral("x-cinnamon"), Desktop::Cinnamon},
        {QStringLiteral("cinnamon"), Desktop::Cinnamon},
        {QStringLiteral("cinnamon2d"), Desktop::Cinnamon},
        {QStringLiteral("mate"), Desktop::Mate},
        {QStringLiteral("kde"), Desktop::Kde},
        {QStringLiteral("plasma"), Desktop::Kde},
        {QStringLiteral("plasmawayland"), Desktop::Kde},
        {QStringLiteral("plasmax11"), Desktop::Kde},
        {QStringLiteral("xfce"), Desktop::Xfce},
        {QStringLiteral("xfce4"), Desktop::Xfce},
        {QStringLiteral("xubuntu"), Desktop::Xfce},
        {QStringLiteral("lxqt"), Desktop::Lxqt},
        {QStringLiteral("lxde"), Desktop::Lxde},
        {QStringLiteral("sway"), Desktop::Sway},
    };
    QString key = name.trimmed().toLower();
    // DESKTOP_SESSION may hold the path of a session file.
    key = key.mid(key.lastIndexOf(QLatin1Char('/')) + 1);
    if (key.endsWith(QLatin1String(".desktop")))
        key.chop(8);
    return known.value(key, Desktop::Unknown);
}

namespace {

Desktop FromList(const QString& list) {
    const auto entries = list.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& entry : entries) {
        const Desktop desktop = DesktopFromName(entry);
        if (desktop != Desktop::Unknown)
            return desktop;
    }
    return Desktop::Unknown;
}

Desktop DetectFromVariables(const QProcessEnvironment& env) {
    for (const char* variable : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION"}) {
        const Desktop desktop = FromList(env.value(QString::fromLatin1(variable)));
        if (desktop != Desktop::Unknown)
            return desktop;
    }
    if (!env.value(QStringLiteral("SWAYSOCK")).isEmpty())
        return Desktop::Sway;
    return Desktop::Unknown;
}

} // namespace

DesktopSession DetectDesktop(const QProcessEnvironment& env) {
    DesktopSession session;
    session.desktop = DetectFromVariables(env);
    session.wayland = !env.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty() ||
                      env.value(QStringLiteral("XDG_SESSION_TYPE"))
                              .compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    session.x11 = !env.value(QStringLiteral("DISPLAY")).isEmpty();
    return session;
}

QString DesktopName(Desktop desktop) {
    switch (desktop) {
    case Desktop::Gnome:
        return QStringLiteral("GNOME");
    case Desktop::Unity:
        return QStringLiteral("Unity");
    case Desktop::Budgie:
        return QStringLiteral("Budgie");
    case Desktop::Cinnamon:
        return QStringLiteral("Cinnamon");
    case Desktop::Mate:
        return QStringLiteral("MATE");
    case Desktop::Kde:
        return QStringLiteral("KDE Plasma");
    case Desktop::Xfce:
        return QStringLiteral("XFCE");
    case Desktop::Lxqt:
        return QStringLiteral("LXQt");
    case Desktop::Lxde:
        return QStringLiteral("LXDE");
    case Desktop::Sway:
        return QStringLiteral("sway");
    case Desktop::Unknown:
        break;
    }
    return QStringLiteral("unknown desktop");
}

} // namespace tavorin
