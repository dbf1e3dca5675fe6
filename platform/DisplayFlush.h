#pragma once

namespace tavorin {

// Makes the display server take what the program's windows have asked of
// it so far, without running any event of the program's. On X11 a round
// trip on Qt's connection. Elsewhere (Wayland) nothing, and no X call:
// there the requests go out when the event loop next runs.
void FlushDisplay();

} // namespace tavorin
