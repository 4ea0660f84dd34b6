#pragma once
// Press times of the last minute, and whether the speed panel on the screen is out of date.
#include <deque>

#include "common/types.h"

constexpr Tick PRESS_RETENTION_MS = 60000;
constexpr double CPM_CAP = 2000.0;
// The panel's figures count the presses of this last stretch of time.
constexpr Tick SPEED_WINDOW_MS = 1000;

// The panel shows nothing but the number of presses of the last second, so it needs
// repainting exactly when that number differs from the one it shows: a tick that would
// repaint the same figures repaints nothing.
struct SpeedMeter {
    std::deque<Tick> pressTimes;
    int shownCount = -1;            // the count the panel on the screen shows; -1 before it is shown
    bool refreshPending = false;    // the panel is invalidated and not yet painted

    void recordPress(Tick tick);
    void prune(Tick now);
    int countSince(Tick cutoff) const;
    // The presses the panel shows at `now`.
    int shownFigure(Tick now) const;
    // Returns true when the panel must be invalidated: its figures are out of date and no
    // paint is already on its way.
    bool onFrame(Tick now);
    // A paint went out; when it covered the whole panel, the panel shows the count at `now`.
    void notePainted(bool wholePanel, Tick now);
};

// now - span, or 0 when that would fall below zero.
inline Tick cutoffBefore(Tick now, Tick span) { return now >= span ? now - span : 0; }
