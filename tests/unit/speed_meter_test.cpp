#include <gtest/gtest.h>

#include "input/speed_meter.h"

namespace {

// Ticks every 16 ms from `from` to `to`, painting whatever was invalidated at once; returns
// the ticks that invalidated the panel.
std::vector<Tick> refreshes(SpeedMeter& meter, Tick from, Tick to) {
    std::vector<Tick> at;
    for (Tick now = from; now <= to; now += 16) {
        if (meter.onFrame(now)) {
            at.push_back(now);
            meter.notePainted(true, now);
        }
    }
    return at;
}

}  // namespace

TEST(SpeedMeter, ThePanelIsShownOnceAtStartAndThenOnlyWhenItsFiguresChange) {
    SpeedMeter meter;
    EXPECT_EQ(refreshes(meter, 20000, 25000), std::vector<Tick>{20000});  // idle: nothing after the first
    meter.recordPress(25010);
    EXPECT_EQ(refreshes(meter, 25016, 27000), (std::vector<Tick>{25016, 26024}));  // in, then out on the first tick past 26010
}

TEST(SpeedMeter, APressExactlyASecondOldStillCountsAndOneMillisecondLaterItDoesNot) {
    SpeedMeter meter;
    meter.recordPress(10000);
    EXPECT_EQ(meter.shownFigure(11000), 1);
    EXPECT_EQ(meter.shownFigure(11001), 0);
    EXPECT_EQ(meter.shownFigure(10000), 1);
    // Just after the clock started every press counts.
    SpeedMeter early;
    early.recordPress(0);
    early.recordPress(500);
    EXPECT_EQ(early.shownFigure(999), 2);
}

TEST(SpeedMeter, AnInvalidatedPanelIsNotInvalidatedAgainBeforeItIsPainted) {
    SpeedMeter meter;
    EXPECT_TRUE(meter.onFrame(1000));
    meter.recordPress(1010);
    // A hidden window gets no paint: the refresh already asked for stands.
    for (Tick now = 1016; now < 3000; now += 16) EXPECT_FALSE(meter.onFrame(now)) << now;
    meter.notePainted(true, 3000);
    EXPECT_EQ(meter.shownCount, 0);
    EXPECT_FALSE(meter.onFrame(3016));
}

TEST(SpeedMeter, APaintOfPartOfThePanelLeavesItToBeRefreshedWhole) {
    SpeedMeter meter;
    meter.onFrame(1000);
    meter.notePainted(true, 1000);
    meter.recordPress(1005);
    // A key beside the panel was repainted, reaching a strip of it: the strip shows 1, the
    // rest 0, and the next tick repaints it whole.
    meter.notePainted(false, 1010);
    EXPECT_TRUE(meter.onFrame(1016));
    meter.notePainted(true, 1020);
    EXPECT_EQ(meter.shownCount, 1);
    EXPECT_FALSE(meter.onFrame(1032));
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

TEST(SpeedMeter, AFloodOfPressesKeepsOneMinuteAndCountsFromTheNewest) {
    SpeedMeter meter;
    for (Tick t = 0; t < 100000; ++t) meter.recordPress(t);
    EXPECT_EQ(meter.pressTimes.size(), 60001u);
    EXPECT_EQ(meter.shownFigure(99999), 1001);
}
