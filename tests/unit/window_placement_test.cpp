#include <gtest/gtest.h>

#include <vector>

#include "control/window_placement.h"

namespace {

constexpr Size WINDOW{932, 316};
const WindowPosition FIRST_START{};

WindowPosition at(int left, int top) { return {left, top}; }

}  // namespace

TEST(WindowPlacement, OnOneScreenAPositionThatTouchesItStaysAndOneOffItGoesHome) {
    const std::vector<Rect> screens{{0, 0, 1920, 1080}};
    EXPECT_EQ(openingPosition(at(120, 80), WINDOW, screens), at(120, 80));
    EXPECT_EQ(openingPosition(at(-931, -315), WINDOW, screens), at(-931, -315));  // one pixel on it
    EXPECT_EQ(openingPosition(at(1919, 1079), WINDOW, screens), at(1919, 1079));
    EXPECT_EQ(openingPosition(at(-932, 0), WINDOW, screens), FIRST_START);         // just left of it
    EXPECT_EQ(openingPosition(at(1920, 0), WINDOW, screens), FIRST_START);         // just right of it
    EXPECT_EQ(openingPosition(at(0, 1080), WINDOW, screens), FIRST_START);
    EXPECT_EQ(openingPosition(at(-3000, 2500), WINDOW, screens), FIRST_START);
}

TEST(WindowPlacement, TwoScreensSideBySideWithNegativeCoordinates) {
    // A second monitor left of the primary one, and lower.
    const std::vector<Rect> screens{{0, 0, 1920, 1080}, {-1280, 200, 0, 1224}};
    EXPECT_EQ(openingPosition(at(-1000, 500), WINDOW, screens), at(-1000, 500));
    EXPECT_EQ(openingPosition(at(-1200, 1000), WINDOW, screens), at(-1200, 1000));
    // Above the left monitor and left of the primary one: on neither.
    EXPECT_EQ(openingPosition(at(-1000, -200), WINDOW, screens), FIRST_START);
    EXPECT_EQ(openingPosition(at(-2300, 500), WINDOW, screens), FIRST_START);
}

TEST(WindowPlacement, NoSavedPositionNoKnownScreenAndTheEndsOfTheRange) {
    const std::vector<Rect> screens{{0, 0, 1920, 1080}};
    EXPECT_EQ(openingPosition(FIRST_START, WINDOW, screens), FIRST_START);
    EXPECT_EQ(openingPosition(at(-3000, 2500), WINDOW, {}), at(-3000, 2500));  // nothing to go by
    // A top missing from the file reads as the default value, far above every screen.
    EXPECT_EQ(openingPosition(at(100, POSITION_DEFAULT), WINDOW, screens), FIRST_START);
    EXPECT_EQ(openingPosition(at(2147483647, 2147483647), WINDOW, screens), FIRST_START);
    EXPECT_EQ(openingPosition(at(-2147483647, 0), WINDOW, screens), FIRST_START);
}
