#include <gtest/gtest.h>

#include "control/hot_key_latch.h"

TEST(HotKeyLatch, AHeldHotKeyActsOnceUntilItsKeyIsSeenUp) {
    HotKeyLatch latch;
    EXPECT_TRUE(latch.fire(1000));
    // The repeats of the held key, 660 ms on and then every 40 ms.
    for (Tick t = 1660; t < 3000; t += 40) EXPECT_FALSE(latch.fire(t));
    latch.release();
    EXPECT_TRUE(latch.fire(3100));
}

TEST(HotKeyLatch, TheKeyStateIsAskedOnlyOnceItCanNoLongerBeAnOldCopy) {
    HotKeyLatch latch;
    EXPECT_FALSE(latch.awaitsRelease(5000));  // not fired: nothing to wait for
    latch.fire(5000);
    EXPECT_FALSE(latch.awaitsRelease(5099));
    EXPECT_TRUE(latch.awaitsRelease(5100));
    latch.release();
    EXPECT_FALSE(latch.awaitsRelease(6000));
}

TEST(HotKeyLatch, AReportCountsAsEarlierThanTheHotKeyAcrossTheClocksWrap) {
    EXPECT_TRUE(HotKeyLatch::cameBefore(1000, 1000));
    EXPECT_TRUE(HotKeyLatch::cameBefore(999, 1000));
    EXPECT_FALSE(HotKeyLatch::cameBefore(1001, 1000));
    // The 32-bit clock wrapped between the key-up and the next press.
    EXPECT_TRUE(HotKeyLatch::cameBefore(0xFFFFFFF0u, 0x10u));
    EXPECT_FALSE(HotKeyLatch::cameBefore(0x10u, 0xFFFFFFF0u));
}
