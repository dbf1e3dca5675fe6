// Chooses Qt's platform plugin from the session type (Wayland or X11).
#include "platform/QtPlatformChoice.h"

#include "platform/wallpaper/DesktopDetect.h"

namespace tavorin {

void ChooseQtPlatform() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (DetectDesktop(QProcessEnvironment::systemEnvironment()).wayland)
        qputenv("QT_QPA_PLATFORM", "wayland;xcb");
}

} // namespace tavorin
