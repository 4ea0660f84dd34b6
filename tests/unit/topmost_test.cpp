#include "control/topmost.h"

#include <gtest/gtest.h>

TEST(Topmost, PutBackOnTopOnlyWhenWantedShownAndAnotherProgramCameToTheFront) {
    EXPECT_TRUE(reassertsTopmost({true, true, false}));
    EXPECT_FALSE(reassertsTopmost({false, true, false}));  // the user let it fall back
    EXPECT_FALSE(reassertsTopmost({true, false, false}));  // hidden: stays hidden
    EXPECT_FALSE(reassertsTopmost({true, true, true}));    // its own menu or dialog
}

TEST(Topmost, OnlyAFocusThatCameWithAnotherForegroundWindowIsAChange) {
    ForegroundSeen seen{0x100};
    EXPECT_FALSE(foregroundChanged(seen, 0x100));  // the focus moved inside the same window
    EXPECT_TRUE(foregroundChanged(seen, 0x200));
    EXPECT_FALSE(foregroundChanged(seen, 0x200));
    EXPECT_FALSE(foregroundChanged(seen, 0));      // the lock screen: nothing to be above
    EXPECT_FALSE(foregroundChanged(seen, 0x200));
    EXPECT_TRUE(foregroundChanged(seen, 0x100));
}
