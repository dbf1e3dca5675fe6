#pragma once

namespace tavorin {

// Runs the program on Qt's Wayland plugin where the session is Wayland
// (X11 through XWayland stays the fallback), unless QT_QPA_PLATFORM
// already says otherwise. Called before the application object exists.
void ChooseQtPlatform();

} // namespace tavorin
