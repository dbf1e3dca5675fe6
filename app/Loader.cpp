// The companion starter's work: mark the log-on start, then start the program.
#include "app/Loader.h"

#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryStore.h"
#include "platform/Wallpaper.h"
#include "settings/Module1.h"
#include "settings/SettingsKeys.h"

#include <QFileInfo>
#include <QProcess>

namespace tavorin {

bool SignalLogOnStart(const ProgramFolder& folder) {
    return profile::Write(folder.OwnFile(QLatin1String(Module1::kSettingsFileName)), ini::kSettings,
                          ini::kLoader, QStringLiteral("1"));
}

void ReapplyClassicWallpaper(IRegistryStore& registry, IDesktopWallpaper& wallpaper) {
    const auto path = registry.StringValue(RootKey::CurrentUser, kDesktopSubKey, kWallpaperValue);
    if (path && QFileInfo(*path).isFile())
        wallpaper.SetClassicWallpaper({*path, {}, {}});
}

bool RunLoader(const ProgramFolder& folder, IRegistryStore& registry,
               IDesktopWallpaper& wallpaper) {
    SignalLogOnStart(folder);
    ReapplyClassicWallpaper(registry, wallpaper);
    return QProcess::startDetached(folder.DataFile(QStringLiteral("Tavorin")), {},
                                   folder.App_Path());
}

} // namespace tavorin
