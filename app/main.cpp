// The program's entry point: the Qt platform, the application, then the start-up sequence.
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "platform/DesktopWallpaper.h"
#include "platform/FontPreload.h"
#include "platform/GioModule.h"
#include "platform/QtPlatformChoice.h"
#include "platform/QtTrayIcon.h"

#include <QApplication>

#include <cstdio>
#include <malloc.h>

using namespace tavorin;

int main(int argc, char** argv) {
    if (const auto answer = CommandLineAnswer(argc, argv))
        return std::fputs(answer->c_str(), stdout) < 0 ? 1 : 0;
    // Give freed heap back to the system from 64 KB on (the default keeps
    // 128 KB and more, growing): the program spends most of its life in the
    // background, where the start-up's freed memory would otherwise stay.
    mallopt(M_TRIM_THRESHOLD, 64 * 1024);
    // One heap for every thread: the few short-lived helper threads (font
    // and picture loading) would otherwise each keep a heap of their own.
    mallopt(M_ARENA_MAX, 1);
    FontPreload fonts;
    ChooseQtPlatform();
    QApplication app(argc, argv);
    const FontPreload::QtPart qtFonts(fonts);
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
