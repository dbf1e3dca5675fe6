// The companion starter's work: mark the log-on start, then start the program.
#include "app/Loader.h"

#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryStore.h"
#include "platform/Wallpaper.h"

#include <QFileInfo>
#include <QProcess>

namespace tavorin {

bool SignalLogOnStart(const ProgramFolder& folder) {
    return profile::Write(folder.OwnFile(QStringLiteral("Settings.INI")),
                          QStringLiteral("Settings"), QStringLiteral("Loader"),
                          QStringLiteral("1"));
}

void ReapplyClassicWallpaper(IRegistryStore& registry, IDesktopWallpaper& wallpaper) {
    const auto path =
        registry.StringValue(RootKey::CurrentUser, QStringLiteral("Control Panel\\Desktop"),
                             QStringLiteral("Wallpaper"));
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
