#include "render/key_drawing.h"

#include "keyboard/key_labels.h"
#include "render/press_glow.h"

namespace {
constexpr int BODY_CORNER = 10;
constexpr int SHADOW_CORNER = 12;

void drawKeyBody(Canvas& canvas, const Rect& d, bool lit, const AppSettings& settings) {
    const KeyColors& c = settings.colors;
    if (settings.shadow) {
        canvas.roundRect(d.offset(SHADOW_OFFSET, SHADOW_OFFSET), SHADOW_CORNER, SHADOW_CORNER, c.shadowColor,
                         c.shadowColor);
    }
    if (settings.style == STYLE_FILLED) {
        canvas.roundRect(d, BODY_CORNER, BODY_CORNER, lit ? c.fillA : c.fillN, c.lineN);
    } else {
        // The outlined design's inside is the colour key, so the keys are see-through.
        canvas.roundRect(d, BODY_CORNER, BODY_CORNER, COLOR_KEY, lit ? c.lineA : c.lineN);
    }
}
}  // namespace

Rect keyDrawingRect(const KeyCap& key, bool lit, int style) {
    return lit && style != STYLE_LABELS_ONLY ? key.rect.inflated(LIT_GROW, LIT_GROW) : key.rect;
}

std::wstring labelDisplayForm(std::wstring label) {
    if (label.size() != 1) return label;
    switch (label[0]) {
        case L':':
        case L'\xFF1A':
            return L"\xFF1B";
        case L'^':
        case L'\xFF3E':
            return L"\xFF1A";
        default:
            return label;
    }
}

void drawKey(Canvas& canvas, const KeyCap& key, const FrameContext& context) {
    const AppSettings& settings = context.settings;
    const bool lit = context.keys.isLit(key.vk, context.now);
    const Rect d = keyDrawingRect(key, lit, settings.style);
    // A hand-edited style outside the three designs draws like the labels-only design.
    if (settings.style == STYLE_FILLED || settings.style == STYLE_OUTLINED) drawKeyBody(canvas, d, lit, settings);
    // Labels are drawn up to their terminator, like the fixed labels they fall back to.
    const std::wstring label = keyLabel(key.vk, key.label.data(), context.labelShift, context.query);
    drawKeyLabel(canvas, labelDisplayForm(label.c_str()), d, lit, context.metrics, settings.colors);
    if (lit) drawPressGlow(canvas, d, key.vk, context.keys, context.now);
}

void drawKeyLabel(Canvas& canvas, std::wstring_view text, const Rect& r, bool lit, const LayoutMetrics& metrics,
                  const KeyColors& colors) {
    const TextFont font{static_cast<int>(metrics.keyHeight * 0.5), lit ? metrics.labelWeightHeld : metrics.labelWeight};
    canvas.drawText(font, lit ? colors.textA : colors.textN, text, TextPlacement{r, true});
}
