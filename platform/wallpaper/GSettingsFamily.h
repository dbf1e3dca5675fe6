#pragma once

#include <QString>

namespace tavorin {

// The desktops that keep their wallpaper in GSettings.
enum class GSettingsFamily {
    Gnome,    // GNOME, Unity, Budgie: org.gnome.desktop.background
    Cinnamon, // org.cinnamon.desktop.background
    Mate,     // org.mate.background
};

// The short name for messages: "GNOME", "Cinnamon", "MATE".
inline QString GSettingsFamilyName(GSettingsFamily family) {
    switch (family) {
    case GSettingsFamily::Gnome:
        return QStringLiteral("GNOME");
    case GSettingsFamily::Cinnamon:
        return QStringLiteral("Cinnamon");
    case GSettingsFamily::Mate:
        break;
    }
    return QStringLiteral("MATE");
}

} // namespace tavorin
