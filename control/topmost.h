#pragma once
#include <cstdint>

// Staying above full-screen programs. A topmost window is only above the others of the
// topmost band as long as none of them is brought to the front after it: a borderless game
// or a video player that makes itself topmost when it comes to the front covers it. The
// window is put back on top each time the foreground window changes, never otherwise.

// The foreground window as last seen. The system reports a new foreground window, and a new
// keyboard focus, which comes far more often (and under Wine is the only report of a window
// coming to the front); only a focus that came with another foreground window counts.
struct ForegroundSeen {
    std::uintptr_t window = 0;
};

// Takes the foreground window at the time of a report; true when it is another one than
// before (none, the lock screen or a desktop switch, counts as no change).
bool foregroundChanged(ForegroundSeen& seen, std::uintptr_t foreground);

struct ForegroundChange {
    bool topmostSetting = false;  // the user wants the window above the others
    bool windowShown = false;
    bool ownWindow = false;  // the new foreground window is one of this program's (its menu, a dialog)
};

// Whether this change of the foreground window calls for putting the window back on top,
// without activating it and without showing it.
bool reassertsTopmost(const ForegroundChange& change);
