#include "input/speed_meter.h"

// Pruning against the press's own time keeps the queue to one minute of presses even when
// reports flood in between two frames.
void SpeedMeter::recordPress(Tick tick) {
    pressTimes.push_back(tick);
    prune(tick);
}

void SpeedMeter::prune(Tick now) {
    const Tick cutoff = cutoffBefore(now, PRESS_RETENTION_MS);
    while (!pressTimes.empty() && pressTimes.front() < cutoff) pressTimes.pop_front();
}

// Walks back from the newest press and stops at the first one before `cutoff`, so the cost
// is the number of presses counted, not the length of the queue.
int SpeedMeter::countSince(Tick cutoff) const {
    int count = 0;
    for (auto it = pressTimes.rbegin(); it != pressTimes.rend() && *it >= cutoff; ++it) ++count;
    return count;
}

int SpeedMeter::shownFigure(Tick now) const { return countSince(cutoffBefore(now, SPEED_WINDOW_MS)); }

// A press entering the last second, or one leaving it, changes the figures on the very tick
// it happens; nothing else does.
bool SpeedMeter::onFrame(Tick now) {
    prune(now);
    if (refreshPending || shownFigure(now) == shownCount) return false;
    refreshPending = true;
    return true;
}

// Every paint validates the whole update region, the panel's pending refresh with it. A paint
// that reached only part of the panel shows no one count: the next tick refreshes it whole.
void SpeedMeter::notePainted(bool wholePanel, Tick now) {
    refreshPending = false;
    if (wholePanel) shownCount = shownFigure(now);
}
