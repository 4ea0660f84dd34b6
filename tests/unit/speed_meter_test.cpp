#include <gtest/gtest.h>

#include "input/speed_meter.h"

namespace {

// The raw rates of each window on the first frame, which takes them unsmoothed.
std::array<double, SPEED_WINDOW_COUNT> firstFrameRates(std::initializer_list<Tick> presses, Tick now) {
    SpeedMeter meter;
    for (Tick p : presses) meter.recordPress(p);
    meter.onFrame(now);
    return meter.smoothedCpm;
}

using Rates = std::array<double, SPEED_WINDOW_COUNT>;

}  // namespace

TEST(SpeedMeter, WindowsIncludeAPressExactlyTheirLengthOld) {
    for (int k = 0; k < SPEED_WINDOW_COUNT; ++k) {
        const Tick length = SPEED_WINDOWS[k].lengthMs;
        EXPECT_EQ(firstFrameRates({10000}, 10000 + length)[k], SPEED_WINDOWS[k].cpmPerPress) << length;
        EXPECT_EQ(firstFrameRates({10000}, 10000 + length + 1)[k], 0.0) << length;
    }
    EXPECT_EQ(firstFrameRates({10000}, 10150), (Rates{0, 200, 120, 60}));
}

TEST(SpeedMeter, JustAfterStartEveryPressCountsForTheLongerWindows) {
    EXPECT_EQ(firstFrameRates({0, 50, 90}, 250), (Rates{0, 600, 360, 180}));
    SpeedMeter meter;
    meter.recordPress(0);
    EXPECT_EQ(meter.countSince(cutoffBefore(999, 1000)), 1);
}

TEST(SpeedMeter, RatesAreCappedAt2000) {
    EXPECT_EQ(firstFrameRates({500, 520, 540, 560}, 580), (Rates{2000, 800, 480, 240}));
    SpeedMeter meter;
    for (Tick t = 0; t < 100; ++t) meter.recordPress(5000 + t);
    meter.onFrame(5100);
    EXPECT_EQ(meter.smoothedCpm, (Rates{2000, 2000, 2000, 2000}));
}

TEST(SpeedMeter, SmoothsAPressAfterAPauseAndRefreshesThePanel) {
    SpeedMeter meter;
    meter.start(20000);
    EXPECT_TRUE(meter.onFrame(20000));  // the first frame always shows
    EXPECT_EQ(meter.shownCpm, (Rates{0, 0, 0, 0}));
    EXPECT_FALSE(meter.onFrame(20016));

    meter.recordPress(20020);
    EXPECT_TRUE(meter.onFrame(20032));
    EXPECT_EQ(meter.smoothedCpm, (Rates{120, 40, 24, 12}));
    EXPECT_EQ(meter.shownCpm, meter.smoothedCpm);

    // 150 ms old: gone from the 0.1 s window only.
    EXPECT_TRUE(meter.onFrame(20170));
    EXPECT_DOUBLE_EQ(meter.smoothedCpm[0], 120 * 0.8);
    EXPECT_DOUBLE_EQ(meter.smoothedCpm[1], 40 * 0.8 + 200 * 0.2);
}

TEST(SpeedMeter, AfterTypingStopsRefreshesUntilSettledThenOncePerSecond) {
    SpeedMeter meter;
    meter.start(30000);
    meter.recordPress(30000);
    meter.onFrame(30000);

    // The press has left every window: each smoothed rate falls by a fifth per frame.
    double previous = meter.smoothedCpm[3];
    for (Tick now = 31100; now < 32000; now += 16) {
        const bool refresh = meter.onFrame(now);
        EXPECT_DOUBLE_EQ(meter.smoothedCpm[3], previous * 0.8);
        previous = meter.smoothedCpm[3];
        if (now < 31300) EXPECT_TRUE(refresh) << now;  // still falling by 0.5 CPM or more
        if (now >= 31700) EXPECT_FALSE(refresh) << now;  // settled within 0.5 CPM
    }
    EXPECT_TRUE(meter.onFrame(32000));
    EXPECT_FALSE(meter.onFrame(32016));
    EXPECT_TRUE(meter.onFrame(33010));
}

TEST(SpeedMeter, ForgetsPressesOlderThanAMinute) {
    SpeedMeter meter;
    meter.recordPress(1000);
    meter.recordPress(2000);
    meter.onFrame(61000);
    EXPECT_EQ(meter.pressTimes, (std::deque<Tick>{1000, 2000}));
    meter.onFrame(61001);
    EXPECT_EQ(meter.pressTimes, std::deque<Tick>{2000});
    meter.prune(200000);
    EXPECT_TRUE(meter.pressTimes.empty());
}
