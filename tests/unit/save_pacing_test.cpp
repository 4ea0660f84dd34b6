#include "control/save_pacing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Replays a gesture's changes (times in ms) the way the shell carries them out: a change is
// written at once when the pacing says so, the waiting one when its time is up, and whatever
// waits when the gesture ends. Returns the times of the writes.
std::vector<Tick> writesOf(const std::vector<Tick>& changes, Tick end) {
    SavePacing pacing;
    std::vector<Tick> writes;
    auto write = [&](Tick at) {
        writes.push_back(at);
        pacing.written(at);
    };
    for (Tick at : changes) {
        if (pacing.pending && at >= pacing.dueAt() && pacing.takePending()) write(pacing.dueAt());
        if (pacing.change(at)) write(at);
    }
    if (pacing.pending && pacing.dueAt() <= end && pacing.takePending()) write(pacing.dueAt());
    if (pacing.takePending()) write(end);
    return writes;
}

}  // namespace

TEST(SavePacing, AStepOrANotchAfterAQuietSpellIsWrittenAtOnce) {
    EXPECT_EQ(writesOf({1000}, 1000), (std::vector<Tick>{1000}));
    EXPECT_EQ(writesOf({1000, 2000, 2600}, 2600), (std::vector<Tick>{1000, 2000, 2600}));
}

TEST(SavePacing, ADragOfManyStepsIsWrittenTwiceASecondAndAtItsEnd) {
    // A two-second drag with a step every 16 ms: 126 changes.
    std::vector<Tick> steps;
    for (Tick t = 10000; t < 12000; t += 16) steps.push_back(t);
    const std::vector<Tick> writes = writesOf(steps, 12010);
    EXPECT_EQ(writes.front(), 10000u);
    // The last step is in the last write, made by the time the button comes up.
    EXPECT_GE(writes.back(), steps.back());
    EXPECT_LE(writes.back(), 12010u);
    EXPECT_LE(writes.size(), 6u);
    for (std::size_t i = 1; i + 1 < writes.size(); ++i) EXPECT_GE(writes[i] - writes[i - 1], SavePacing::SAVE_SPACING_MS);
}

TEST(SavePacing, AWriteForAnyOtherReasonHoldsTheWaitingChange) {
    SavePacing pacing;
    ASSERT_TRUE(pacing.change(5000));
    pacing.written(5000);
    EXPECT_FALSE(pacing.change(5100));
    pacing.written(5200);  // a menu command saved everything meanwhile
    EXPECT_FALSE(pacing.takePending());
    EXPECT_FALSE(pacing.change(5300));
    EXPECT_EQ(pacing.dueAt(), 5700u);
}
