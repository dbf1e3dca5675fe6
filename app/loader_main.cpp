// The companion starter's entry point (Loader, the log-on launcher).
#include "app/Loader.h"
#include "platform/DesktopWallpaper.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryStore.h"

#include <QCoreApplication>

using namespace tavorin;

// Loader.exe: the companion that starts Tavorin at log-on.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const ProgramFolder folder(ProgramFolder::OfRunningProgram());
    XdgRegistryStore registry;
    auto wallpaper = MakeDesktopWallpaper();
    return RunLoader(folder, registry, *wallpaper) ? 0 : 1;
}
