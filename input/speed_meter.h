#pragma once
// Press times of the last minute, and the once-per-frame decision whether the speed panel
// must be repainted.
#include <array>
#include <deque>

#include "common/types.h"

constexpr Tick PRESS_RETENTION_MS = 60000;
constexpr double CPM_CAP = 2000.0;
constexpr int SPEED_WINDOW_COUNT = 4;

struct SpeedWindow {
    Tick lengthMs;
    int cpmPerPress;
};
// 0.1, 0.3, 0.5 and 1.0 seconds.
constexpr std::array<SpeedWindow, SPEED_WINDOW_COUNT> SPEED_WINDOWS{{{100, 600}, {300, 200}, {500, 120}, {1000, 60}}};

struct SpeedMeter {
    std::deque<Tick> pressTimes;
    std::array<double, SPEED_WINDOW_COUNT> smoothedCpm{0.0, 0.0, 0.0, 0.0};
    std::array<double, SPEED_WINDOW_COUNT> shownCpm{-100.0, -100.0, -100.0, -100.0};
    Tick lastSecond = 0;

    // Called when the window is created.
    void start(Tick now) { lastSecond = now / 1000; }
    void recordPress(Tick tick);
    void prune(Tick now);
    int countSince(Tick cutoff) const;
    // Returns true when the speed panel must be invalidated.
    bool onFrame(Tick now);
};

// now - span, or 0 when that would fall below zero.
inline Tick cutoffBefore(Tick now, Tick span) { return now >= span ? now - span : 0; }
