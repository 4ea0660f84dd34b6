#include "control/topmost.h"

bool foregroundChanged(ForegroundSeen& seen, std::uintptr_t foreground) {
    if (foreground == 0 || foreground == seen.window) return false;
    seen.window = foreground;
    return true;
}

// A hidden window stays hidden, a window the user let fall back stays where it is, and this
// program's own menu or dialog needs the keyboard above it.
bool reassertsTopmost(const ForegroundChange& change) {
    return change.topmostSetting && change.windowShown && !change.ownWindow;
}
