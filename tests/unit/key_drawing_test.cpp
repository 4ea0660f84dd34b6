#include "render/key_drawing.h"

#include <gtest/gtest.h>

#include "render/press_glow.h"
#include "render/recording_canvas.h"
#include "render_test_support.h"

using render_test::Scene;

namespace {
constexpr int VK_A = 0x41;

KeyCap keyA() {
    KeyCap key;
    key.vk = VK_A;
    key.rect = {62, 134, 110, 182};
    key.label = {L'A'};
    return key;
}

std::vector<DrawCall> draw(Scene& scene, const KeyCap& key) {
    RecordingCanvas canvas;
    drawKey(canvas, key, scene.context());
    return canvas.calls();
}
}  // namespace

TEST(KeyDrawing, LitFilledKeyGrowsWithShadowLabelAndGlow) {
    Scene scene;
    scene.settings.shadow = true;
    scene.tap(VK_A, 0);  // the glow at the moment of the key-down
    const KeyColors& c = scene.settings.colors;

    const auto calls = draw(scene, keyA());
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].kind, DrawKind::RoundRect);  // shadow
    EXPECT_EQ(calls[0].rect, (Rect{58, 130, 118, 190}));
    EXPECT_EQ(calls[0].corner, (Size{12, 12}));
    EXPECT_EQ(calls[0].fill, c.shadowColor);
    EXPECT_EQ(calls[0].pen, c.shadowColor);

    EXPECT_EQ(calls[1].kind, DrawKind::RoundRect);  // body
    EXPECT_EQ(calls[1].rect, (Rect{56, 128, 116, 188}));
    EXPECT_EQ(calls[1].corner, (Size{10, 10}));
    EXPECT_EQ(calls[1].fill, c.fillA);
    EXPECT_EQ(calls[1].pen, c.lineN);  // the filled design keeps its outline when lit

    EXPECT_EQ(calls[2].kind, DrawKind::Text);
    EXPECT_EQ(calls[2].text, L"a");
    EXPECT_EQ(calls[2].font, (TextFont{24, 600}));
    EXPECT_EQ(calls[2].fill, c.textA);
    EXPECT_EQ(calls[2].placement, (TextPlacement{{56, 128, 116, 188}, true}));

    EXPECT_EQ(calls[3].kind, DrawKind::Blend);  // the glow lies over everything else
    EXPECT_EQ(calls[3].rect.width(), 44);
}

TEST(KeyDrawing, UnlitFilledKeyKeepsItsRectangle) {
    Scene scene;
    const auto calls = draw(scene, keyA());
    ASSERT_EQ(calls.size(), 2u);  // no shadow by default, no glow
    EXPECT_EQ(calls[0].rect, keyA().rect);
    EXPECT_EQ(calls[0].fill, scene.settings.colors.fillN);
    EXPECT_EQ(calls[1].font, (TextFont{24, 400}));
    EXPECT_EQ(calls[1].fill, scene.settings.colors.textN);
}

TEST(KeyDrawing, OutlinedKeyIsSeeThroughAndChangesItsOutlineWhenLit) {
    Scene scene;
    scene.settings.style = STYLE_OUTLINED;
    scene.settings.shadow = true;
    const KeyColors& c = scene.settings.colors;

    auto calls = draw(scene, keyA());
    EXPECT_EQ(calls[1].fill, COLOR_KEY);
    EXPECT_EQ(calls[1].pen, c.lineN);

    scene.keys.held[VK_A] = true;
    calls = draw(scene, keyA());
    EXPECT_EQ(calls[1].rect, (Rect{56, 128, 116, 188}));
    EXPECT_EQ(calls[1].fill, COLOR_KEY);
    EXPECT_EQ(calls[1].pen, c.lineA);
}

TEST(KeyDrawing, LabelsOnlyDesignDrawsNoBodyEvenWithShadow) {
    Scene scene;
    scene.settings.style = STYLE_LABELS_ONLY;
    scene.settings.shadow = true;
    scene.keys.held[VK_A] = true;
    const auto calls = draw(scene, keyA());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, DrawKind::Text);
    EXPECT_EQ(calls[0].placement.box, keyA().rect);  // a lit key does not grow here
    EXPECT_EQ(calls[0].font.weight, 600);
    EXPECT_EQ(calls[1].rect.width(), glowRect(keyA().rect, glowPhase(0, scene.now)).width());
}

TEST(KeyDrawing, UnknownDesignDrawsLikeLabelsOnlyButGlowsInTheGrownRectangle) {
    Scene scene;
    scene.settings.style = 7;
    scene.settings.shadow = true;
    scene.tap(VK_A, 0);
    const auto calls = draw(scene, keyA());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].placement.box, (Rect{56, 128, 116, 188}));
    EXPECT_EQ(calls[1].rect.width(), 44);  // the grown rectangle's glow, not the 36 of the key's own
}

TEST(KeyDrawing, OneCharacterLabelsTakeTheirDisplayForm) {
    EXPECT_EQ(labelDisplayForm(L":"), L"\xFF1B");
    EXPECT_EQ(labelDisplayForm(L"\xFF1A"), L"\xFF1B");
    EXPECT_EQ(labelDisplayForm(L"^"), L"\xFF1A");
    EXPECT_EQ(labelDisplayForm(L"\xFF3E"), L"\xFF1A");
    EXPECT_EQ(labelDisplayForm(L";"), L";");
    EXPECT_EQ(labelDisplayForm(L"::"), L"::");
    EXPECT_EQ(labelDisplayForm(L""), L"");

    // Through drawKey: the key types '^', and the substitution happens after the label look-up.
    Scene scene;
    scene.query.characters[0xDE] = {L'^', L'~'};
    KeyCap colon;
    colon.vk = 0xDE;
    colon.rect = {510, 134, 558, 182};
    colon.label = {L':'};
    colon.fullWidthColons = true;  // as every key of the compact keyboard
    EXPECT_EQ(draw(scene, colon)[1].text, L"\xFF1A");
    scene.query.characters.erase(0xDE);  // no character: the fixed ":" is the label
    EXPECT_EQ(draw(scene, colon)[1].text, L"\xFF1B");
    // A full keyboard shows each key's own character: its ':' key is not drawn as ';'.
    colon.fullWidthColons = false;
    EXPECT_EQ(draw(scene, colon)[1].text, L":");
}

TEST(KeyDrawing, LabelFontIsHalfTheKeyHeightTruncated) {
    Scene scene(0.8);
    EXPECT_EQ(scene.metrics.keyHeight, 38);
    const auto calls = draw(scene, *findKey(scene.layout, VK_A));
    ASSERT_EQ(calls[1].kind, DrawKind::Text);
    EXPECT_EQ(calls[1].font, (TextFont{19, 341}));
}
