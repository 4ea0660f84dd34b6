#include "render/frame.h"

#include <gtest/gtest.h>

#include "render/key_drawing.h"
#include "render/recording_canvas.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"
#include "render_test_support.h"

using render_test::Scene;

TEST(Frame, BackgroundKeysPanelAndGripInOrder) {
    Scene scene;
    scene.settings.style = STYLE_FILLED;
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context());
    const auto& calls = canvas.calls();
    ASSERT_EQ(scene.layout.size(), 46u);
    // Background, then a body and a label for each of the 46 keys, the panel's six calls
    // and the grip's six.
    ASSERT_EQ(calls.size(), 1u + 46 * 2 + 6 + 6);

    EXPECT_EQ(calls[0].rect, (Rect{0, 0, 932, 316}));
    EXPECT_EQ(calls[0].fill, COLOR_KEY);
    for (std::size_t i = 0; i < scene.layout.size(); ++i) EXPECT_EQ(calls[1 + 2 * i].rect, scene.layout[i].rect);
    EXPECT_EQ(calls[1 + 92].rect, speedPanelRect(scene.clientRect(), scene.metrics, 1.0));
    EXPECT_EQ(calls[1 + 92 + 6].rect, gripRect(scene.clientRect(), 1.0));
}

TEST(Frame, LabelsFollowTheLabelShiftState) {
    Scene scene;
    RecordingCanvas canvas;
    FrameContext shifted = scene.context();
    shifted.labelShift = true;
    drawFrame(canvas, scene.clientRect(), shifted);
    const auto texts = canvas.callsOf(DrawKind::Text);
    EXPECT_EQ(texts[10 + 1].text, L"Q");  // ten digits and the "ー" key come first
}

// The pixels stay the same inside the area (checked on GDI under Wine); here, that keys out
// of reach are really left out and those within reach are not.
TEST(Frame, UpdateAreaLeavesOutKeysThatCannotReachIt) {
    Scene scene;
    const Rect area = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    auto drawnKeys = [&] {
        RecordingCanvas clipped;
        drawFrame(clipped, scene.clientRect(), scene.context(), area);
        std::vector<Rect> drawn;
        for (const DrawCall& call : clipped.callsOf(DrawKind::RoundRect)) drawn.push_back(call.rect);
        return drawn;
    };
    auto rectsOf = [&](std::initializer_list<int> vks) {
        std::vector<Rect> rects;
        for (int vk : vks) rects.push_back(findKey(scene.layout, vk)->rect);
        return rects;
    };

    // "A" alone: its margin ends where "S", 8 pixels away, begins; the rows above and below
    // are 12 pixels away. The panel is out of reach too.
    EXPECT_EQ(drawnKeys(), rectsOf({'A'}));
    // A lit "W" grows by 6 pixels, down into A's area; its drawing rectangle is drawn.
    scene.keys.held['W'] = true;
    const std::vector<Rect> withW = drawnKeys();
    ASSERT_EQ(withW.size(), 2u);
    EXPECT_EQ(withW[0], findKey(scene.layout, 'W')->rect.inflated(6, 6));
    EXPECT_EQ(withW[1], findKey(scene.layout, 'A')->rect);
}

// Below the default scale the keys stand closer than a lit key's reach, and a repaint of one
// takes in the edges of its neighbours.
TEST(Frame, AtScale09ALitKeysAreaTakesInItsNeighboursEdges) {
    Scene scene(0.9);
    const Rect area = findKey(scene.layout, 'A')->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context(), area);
    std::vector<Rect> drawn;
    for (const DrawCall& call : canvas.callsOf(DrawKind::RoundRect)) drawn.push_back(call.rect);
    EXPECT_EQ(drawn, (std::vector<Rect>{findKey(scene.layout, 'A')->rect, findKey(scene.layout, 'S')->rect}));
}

namespace {

// Remembers which pictures a frame asks for, and draws them directly like any canvas.
class PictureRecordingCanvas : public RecordingCanvas {
public:
    void drawPicture(const PictureKey& key, const Rect& r, Color background, const PictureDrawing& drawing) override {
        pictures.push_back({key, r});
        EXPECT_EQ(background, COLOR_KEY);
        RecordingCanvas::drawPicture(key, r, background, drawing);
    }
    struct Asked {
        PictureKey key;
        Rect rect;
    };
    std::vector<Asked> pictures;
};

}  // namespace

// A lit key's face may be copied from a kept picture, but only where no key drawn before it in
// the frame reaches: a copy would wipe out what that key drew. The glow is drawn over it.
TEST(Frame, OnlyLitKeysWithNothingDrawnUnderThemAreKeptPictures) {
    Scene scene;  // scale 1.0: lit neighbours reach into each other's areas
    for (int vk : {int{'E'}, int{'R'}, int{'M'}}) {
        scene.keys.held[vk] = true;
        scene.tap(vk, 0);
    }
    scene.tap('A', 30);   // released, still lit
    scene.tap('Z', 500);  // no longer lit
    PictureRecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context());
    ASSERT_EQ(canvas.pictures.size(), 3u);  // E, A and M; R lies where E has drawn
    const Rect e = findKey(scene.layout, 'E')->rect.inflated(LIT_GROW, LIT_GROW);
    const Rect a = findKey(scene.layout, 'A')->rect.inflated(LIT_GROW, LIT_GROW);
    const Rect m = findKey(scene.layout, 'M')->rect.inflated(LIT_GROW, LIT_GROW);
    EXPECT_EQ(canvas.pictures[0].rect, e);
    EXPECT_EQ(canvas.pictures[1].rect, a);
    EXPECT_EQ(canvas.pictures[2].rect, m);
    EXPECT_FALSE(canvas.pictures[0].key == canvas.pictures[2].key);
    // Every lit key gets its glow over its face.
    EXPECT_EQ(canvas.callsOf(DrawKind::Blend).size(), 4u);

    // What decides the picture: the label's Shift state and the colours, not the place.
    PictureRecordingCanvas shifted;
    scene.labelShift = true;
    drawFrame(shifted, scene.clientRect(), scene.context(), std::optional<Rect>(findKey(scene.layout, 'E')->rect));
    ASSERT_EQ(shifted.pictures.size(), 1u);
    EXPECT_FALSE(shifted.pictures[0].key == canvas.pictures[0].key);
    scene.labelShift = false;
    PictureRecordingCanvas again;
    drawFrame(again, scene.clientRect(), scene.context(), std::optional<Rect>(findKey(scene.layout, 'E')->rect));
    ASSERT_EQ(again.pictures.size(), 1u);
    EXPECT_TRUE(again.pictures[0].key == canvas.pictures[0].key);
    scene.settings.colors.fillA = rgb(1, 2, 3);
    PictureRecordingCanvas recoloured;
    drawFrame(recoloured, scene.clientRect(), scene.context(), std::optional<Rect>(findKey(scene.layout, 'E')->rect));
    ASSERT_EQ(recoloured.pictures.size(), 1u);
    EXPECT_FALSE(recoloured.pictures[0].key == canvas.pictures[0].key);
}

// The anti-alias setting reaches every text of the frame, labels and the panel's figures, and
// nothing else; a lit key's kept face is another picture with it.
TEST(Frame, AntiAliasingSmoothsEveryLabelAndFigureAndMakesOtherPictures) {
    Scene scene;
    scene.keys.held['E'] = true;
    const Rect e = findKey(scene.layout, 'E')->rect;
    for (bool aa : {false, true}) {
        scene.settings.aa = aa;
        RecordingCanvas canvas;
        drawFrame(canvas, scene.clientRect(), scene.context());
        const auto texts = canvas.callsOf(DrawKind::Text);
        ASSERT_EQ(texts.size(), 46u + 2);
        for (const DrawCall& text : texts) EXPECT_EQ(text.font.antialiased, aa) << "aa " << aa;
    }
    PictureRecordingCanvas smooth;
    drawFrame(smooth, scene.clientRect(), scene.context(), std::optional<Rect>(e));
    scene.settings.aa = false;
    PictureRecordingCanvas plain;
    drawFrame(plain, scene.clientRect(), scene.context(), std::optional<Rect>(e));
    ASSERT_EQ(smooth.pictures.size(), 1u);
    ASSERT_EQ(plain.pictures.size(), 1u);
    EXPECT_FALSE(smooth.pictures[0].key == plain.pictures[0].key);
}
