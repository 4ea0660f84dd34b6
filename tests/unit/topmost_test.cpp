#include "control/topmost.h"

#include <gtest/gtest.h>

TEST(Topmost, PutBackOnTopOnlyWhenWantedShownAndAnotherProgramCameToTheFront) {
    EXPECT_TRUE(reassertsTopmost({true, true, false}));
    EXPECT_FALSE(reassertsTopmost({false, true, false}));  // the user let it fall back
    EXPECT_FALSE(reassertsTopmost({true, false, false}));  // hidden: stays hidden
    EXPECT_FALSE(reassertsTopmost({true, true, true}));    // its own menu or dialog
}
