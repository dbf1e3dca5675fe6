#include "app/Startup.h"
#include "platform/DesktopWallpaper.h"
#include "platform/GioModule.h"
#include "platform/QtTrayIcon.h"

#include <QApplication>

using namespace tavorin;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavorin"));
    QApplication::setQuitOnLastWindowClosed(false);

    const QString folder = ProgramFolder::OfRunningProgram();
    QtDialogs dialogs;
    XdgRegistryStore registry;
    auto wallpaper = MakeDesktopWallpaper(folder);
    const auto shell = MakeGioModuleShell(folder);
    LockFileInstance instance(folder);
    SystemClock clock;
    QtTrayIcon tray;
    Services services{
        ProgramFolder(folder), dialogs, registry, *wallpaper, *shell, instance, clock, tray};
    Module1 module(services);

    Startup startup(module);
    if (!startup.Main())
        return 0;
    return app.exec();
}
