// The labels of the full keyboard's keys, and their sizes on both keyboards.
#include <gtest/gtest.h>

#include "fake_keyboard_layouts.h"
#include "keyboard/key_labels.h"
#include "render/frame.h"
#include "render/key_drawing.h"
#include "render/recording_canvas.h"
#include "render_test_support.h"

namespace {

std::wstring labelAt(const KeyboardLayout& layout, int code, KeyboardQuery& query, bool shift = false) {
    const KeyCap* key = findKey(layout, code);
    return key ? keyCapLabel(*key, shift, query) : L"<missing>";
}

// Every key label of a frame, by the key's rectangle.
std::vector<DrawCall> keyLabels(render_test::Scene& scene) {
    RecordingCanvas canvas;
    drawFrame(canvas, scene.clientRect(), scene.context());
    std::vector<DrawCall> labels;
    for (const DrawCall& call : canvas.calls())
        if (call.kind == DrawKind::Text)
            for (const KeyCap& key : scene.layout)
                if (call.placement.box == key.rect) labels.push_back(call);
    return labels;
}

}  // namespace

TEST(FullKeyboardLabels, KeysThatTypeShowWhatTheLayoutTypesAtTheirPlace) {
    const KeyboardLayout iso = keysAtScaleOne(FULL_KEYBOARD_ISO);
    FakeKeyboardQuery us = usLayout();
    EXPECT_EQ(labelAt(iso, physicalKey(0x2C), us), L"z");
    EXPECT_EQ(labelAt(iso, physicalKey(0x02), us, true), L"!");
    EXPECT_EQ(labelAt(iso, physicalKey(0x1A), us), L"[");
    EXPECT_EQ(labelAt(iso, physicalKey(0x39), us), L"Space");
    // German: Z and Y change places, and the punctuation keys type their own characters.
    FakeKeyboardQuery german = germanLayout();
    EXPECT_EQ(labelAt(iso, physicalKey(0x2C), german), L"y");
    EXPECT_EQ(labelAt(iso, physicalKey(0x15), german), L"z");
    EXPECT_EQ(labelAt(iso, physicalKey(0x0C), german), L"\u00DF");
    EXPECT_EQ(labelAt(iso, physicalKey(0x56), german), L"<");
    EXPECT_EQ(labelAt(iso, physicalKey(0x56), german, true), L">");
    EXPECT_EQ(labelAt(iso, physicalKey(0x0D), german), L"=");  // a dead key: its fallback
    // Japanese: ':' is its own key and is shown as it is, not in the compact's display form.
    const KeyboardLayout jis = keysAtScaleOne(FULL_KEYBOARD_JIS);
    FakeKeyboardQuery japanese = jisLayout();
    EXPECT_EQ(labelAt(jis, physicalKey(0x28), japanese), L":");
    EXPECT_EQ(labelAt(jis, physicalKey(0x27), japanese), L";");
    EXPECT_EQ(labelAt(jis, physicalKey(0x0D), japanese), L"^");
    EXPECT_FALSE(findKey(jis, physicalKey(0x28))->fullWidthColons);
}

TEST(FullKeyboardLabels, KeysWithoutACharacterOfTheirOwnCarryFixedLabels) {
    const KeyboardLayout ansi = keysAtScaleOne(FULL_KEYBOARD_ANSI);
    FakeKeyboardQuery us = usLayout();
    // Enter and Tab type control characters, the keypad's '*' a character, Shift nothing: all
    // carry their fixed labels, shifted or not.
    for (bool shift : {false, true}) {
        EXPECT_EQ(labelAt(ansi, physicalKey(0x1C), us, shift), L"Enter");
        EXPECT_EQ(labelAt(ansi, extendedKey(0x1C), us, shift), L"Enter");
        EXPECT_EQ(labelAt(ansi, physicalKey(0x0F), us, shift), L"Tab");
        EXPECT_EQ(labelAt(ansi, physicalKey(0x37), us, shift), L"*");
        EXPECT_EQ(labelAt(ansi, physicalKey(0x4B), us, shift), L"4");
        EXPECT_EQ(labelAt(ansi, physicalKey(0x2A), us, shift), L"Shift");
        EXPECT_EQ(labelAt(ansi, extendedKey(0x1D), us, shift), L"Ctrl");
        EXPECT_EQ(labelAt(ansi, extendedKey(0x4B), us, shift), L"\u2190");
    }
    // A layout that gives a typing key a control character shows its fallback instead.
    us.keys[0xDB] = {L'\x1B', L'\x1B'};
    EXPECT_EQ(labelAt(ansi, physicalKey(0x1A), us), L"[");
}

TEST(FullKeyboardLabels, CompactLabelsKeepTheirSizeAtEveryScaleAndLongLabelsFitTheirKeys) {
    render_test::Scene scene;
    for (int thousandths = 500; thousandths <= 3000; thousandths += 50) {
        const double scale = thousandths / 1000.0;
        scene.rescale(scale);
        scene.query.characters[0xBD] = {L'\u30FC', L'\u30FC'};
        const int full = static_cast<int>(scene.metrics.keyHeight * 0.5);
        const std::vector<DrawCall> compact = keyLabels(scene);
        ASSERT_EQ(compact.size(), static_cast<std::size_t>(DISPLAYED_KEY_COUNT));
        for (const DrawCall& label : compact) EXPECT_EQ(label.font.height, full) << label.text << " at " << scale;

        for (const KeyArrangement* arrangement : {&FULL_KEYBOARD_ANSI, &FULL_KEYBOARD_JIS}) {
            scene.client = buildLayout(scene.layout, scene.metrics, scale, *arrangement);
            for (const DrawCall& label : keyLabels(scene)) {
                EXPECT_LE(label.font.height, full);
                EXPECT_LE(label.extent.width, label.placement.box.width()) << label.text << " at " << scale;
            }
        }
    }
    // A label that fits keeps the full size (Tab on its 1.5 units); three letters on one unit,
    // "Backspace" on its two and three full-width characters are drawn smaller.
    EXPECT_EQ(fittedLabelHeight(L"F12", 48, 24), 20);
    EXPECT_EQ(fittedLabelHeight(L"Esc", 48, 24), 20);
    EXPECT_EQ(fittedLabelHeight(L"Tab", 76, 24), 24);
    EXPECT_EQ(fittedLabelHeight(L"Backspace", 104, 24), 14);
    EXPECT_EQ(fittedLabelHeight(L"\u7121\u5909\u63DB", 48, 24), 14);
}
