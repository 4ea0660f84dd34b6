#include "render/canvas.h"

#include <gtest/gtest.h>

// A text wider than its box (a heavy "2000" in a narrow panel) is where the two placements
// truncate differently; each keeps its own rule.
TEST(TextOrigin, CentredAndTopCentredTruncateTowardZero) {
    EXPECT_EQ(textOrigin({{62, 134, 110, 182}, true}, {13, 32}), (Point{79, 142}));
    EXPECT_EQ(textOrigin({{804, 24, 912, 76}, false}, {40, 52}), (Point{838, 24}));

    EXPECT_EQ(textOrigin({{5, 0, 10, 10}, true}, {8, 4}), (Point{3, 3}));   // (5 + 10 - 8) / 2
    EXPECT_EQ(textOrigin({{5, 0, 10, 10}, false}, {8, 4}), (Point{4, 0}));  // 5 + (10 - 8 - 5) / 2
    EXPECT_EQ(textOrigin({{0, 0, 10, 4}, true}, {15, 9}), (Point{-2, -2}));
}
