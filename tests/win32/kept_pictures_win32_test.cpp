// Kept pictures stay within their memory budget, the least lately used giving way, and
// pictures too large to stay are not made at all.
#include <windows.h>

#include <gtest/gtest.h>

#include "render/back_buffer.h"
#include "render/kept_pictures_win32.h"

namespace {

PictureKey keyOf(std::uint32_t id, int side) { return {{side, side}, {id}}; }

class Frame {
public:
    Frame() {
        HDC screen = GetDC(nullptr);
        ensureBackBuffer(buffer_, 64, 64, screen);
        ReleaseDC(nullptr, screen);
    }
    ~Frame() { releaseBackBuffer(buffer_); }
    void* dc() const { return buffer_.dc; }

private:
    BackBuffer buffer_;
};

// Side of a square picture that fills 1/n of the budget.
int sideForShare(std::size_t n) {
    int side = 1;
    while (static_cast<std::size_t>(side + 1) * static_cast<std::size_t>(side + 1) * 4 * n <= KeptPictures::BUDGET_BYTES)
        ++side;
    return side;
}

}  // namespace

TEST(KeptPictures, TheLeastLatelyUsedGiveWayWithinTheBudget) {
    Frame frame;
    KeptPictures pictures;
    const std::size_t fit = KeptPictures::MIN_KEPT;
    const int side = sideForShare(fit);
    for (std::uint32_t id = 0; id < fit; ++id) ASSERT_NE(pictures.make(keyOf(id, side), frame.dc()), nullptr) << id;
    for (std::uint32_t id = 0; id < fit; ++id) EXPECT_NE(pictures.find(keyOf(id, side)), nullptr) << id;

    ASSERT_NE(pictures.find(keyOf(0, side)), nullptr);  // used again: now the latest
    ASSERT_NE(pictures.make(keyOf(fit, side), frame.dc()), nullptr);
    EXPECT_NE(pictures.find(keyOf(0, side)), nullptr);
    EXPECT_EQ(pictures.find(keyOf(1, side)), nullptr);  // the least lately used went
    EXPECT_NE(pictures.find(keyOf(fit, side)), nullptr);
    EXPECT_EQ(pictures.find(keyOf(0, side + 1)), nullptr);  // same values, other size

    pictures.release();
    EXPECT_EQ(pictures.find(keyOf(0, side)), nullptr);
}

TEST(KeptPictures, PicturesTooLargeToStayAreNotMade) {
    Frame frame;
    KeptPictures pictures;
    EXPECT_EQ(pictures.make(keyOf(1, sideForShare(KeptPictures::MIN_KEPT) + 1), frame.dc()), nullptr);
    EXPECT_EQ(pictures.make(keyOf(2, 0), frame.dc()), nullptr);
    EXPECT_NE(pictures.make(keyOf(3, 8), frame.dc()), nullptr);
}
