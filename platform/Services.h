#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryStore.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/Tray.h"
#include "platform/Wallpaper.h"

namespace tavorin {

// Everything the operating system does for the program, in one bundle.
// The program builds it from the Linux implementations; tests from fakes.
struct Services {
    ProgramFolder folder;
    IDialogs& dialogs;
    IRegistryStore& registry;
    IDesktopWallpaper& wallpaper;
    IShell& shell;
    ISingleInstance& instance;
    IClock& clock;
    ITrayIcon& tray;
};

} // namespace tavorin
