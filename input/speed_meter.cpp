#include "input/speed_meter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double PREVIOUS_WEIGHT = 0.8;
constexpr double NEW_RATE_WEIGHT = 0.2;
// The panel is repainted once a smoothed rate has moved this far from what it shows.
constexpr double REFRESH_THRESHOLD_CPM = 0.5;
// shownCpm starts far below any rate; anything below this was never shown.
constexpr double NEVER_SHOWN_BELOW = -50.0;

}  // namespace

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

bool SpeedMeter::onFrame(Tick now) {
    prune(now);

    std::array<double, SPEED_WINDOW_COUNT> cpm{};
    for (int k = 0; k < SPEED_WINDOW_COUNT; ++k) {
        const int presses = countSince(cutoffBefore(now, SPEED_WINDOWS[k].lengthMs));
        cpm[k] = std::min(static_cast<double>(presses) * SPEED_WINDOWS[k].cpmPerPress, CPM_CAP);
    }

    bool changed = false;
    for (int k = 0; k < SPEED_WINDOW_COUNT; ++k) {
        if (shownCpm[k] < NEVER_SHOWN_BELOW)
            smoothedCpm[k] = cpm[k];
        else
            smoothedCpm[k] = smoothedCpm[k] * PREVIOUS_WEIGHT + cpm[k] * NEW_RATE_WEIGHT;
        if (std::fabs(smoothedCpm[k] - shownCpm[k]) >= REFRESH_THRESHOLD_CPM) {
            shownCpm[k] = smoothedCpm[k];
            changed = true;
        }
    }

    // The panel's figures count the last whole second, so it is refreshed at least once a
    // second even when no smoothed rate moved.
    const Tick second = now / 1000;
    if (second != lastSecond) {
        lastSecond = second;
        return true;
    }
    return changed;
}
