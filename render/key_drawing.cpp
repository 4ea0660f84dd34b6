#include "render/key_drawing.h"

#include <algorithm>

#include "keyboard/key_labels.h"
#include "render/press_glow.h"

namespace {
constexpr int BODY_CORNER = 10;
constexpr int SHADOW_CORNER = 12;
constexpr double LATIN_EMS = 0.68;
// A label keeps an eighth of its key's width clear, half on either side.
constexpr int LABEL_MARGIN_FRACTION = 8;
constexpr int MIN_LABEL_HEIGHT = 6;

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

TextFont labelFont(const LayoutMetrics& metrics, bool lit, bool antialiased) {
    return {static_cast<int>(metrics.keyHeight * 0.5), lit ? metrics.labelWeightHeld : metrics.labelWeight, antialiased};
}

// The label's width in ems, estimated a little wide: about two thirds of an em for a Latin
// letter or digit in the label font (wider in the fonts that stand in for it), a whole em for
// a full-width character.
double estimatedLabelEms(std::wstring_view label) {
    double ems = 0;
    for (wchar_t c : label) ems += c < 0x1100 ? LATIN_EMS : 1.0;
    return ems;
}

// The text a key shows, in the form it is drawn.
std::wstring shownLabel(const KeyCap& key, const FrameContext& context) {
    const std::wstring label = keyCapLabel(key, context.labelShift, context.query);
    // Labels are drawn up to their terminator, like the fixed labels they fall back to.
    return key.fullWidthColons ? labelDisplayForm(label.c_str()) : label;
}

// The label font, smaller where a long fixed label would not fit its key; sized by the key's
// own width, so that a lit key's label keeps its size.
TextFont keyLabelFont(const KeyCap& key, std::wstring_view label, const LayoutMetrics& metrics, bool lit,
                      bool antialiased) {
    TextFont font = labelFont(metrics, lit, antialiased);
    font.height = fittedLabelHeight(label, key.rect.width(), font.height);
    return font;
}

// Body and label.
void drawKeyFace(Canvas& canvas, const KeyCap& key, const Rect& d, bool lit, const FrameContext& context) {
    const AppSettings& settings = context.settings;
    // A hand-edited style outside the three designs draws like the labels-only design.
    if (settings.style == STYLE_FILLED || settings.style == STYLE_OUTLINED) drawKeyBody(canvas, d, lit, settings);
    const std::wstring label = shownLabel(key, context);
    canvas.drawText(keyLabelFont(key, label, context.metrics, lit, settings.aa),
                    lit ? settings.colors.textA : settings.colors.textN, label, TextPlacement{d, true});
}

class KeyFaceDrawing : public PictureDrawing {
public:
    KeyFaceDrawing(const KeyCap& key, const Rect& d, const FrameContext& context) : key_(key), d_(d), context_(context) {}
    void draw(Canvas& canvas) const override { drawKeyFace(canvas, key_, d_, true, context_); }

private:
    const KeyCap& key_;
    const Rect& d_;
    const FrameContext& context_;
};

// All a key draws, its shadow included.
Rect keyFaceReach(const Rect& d, const AppSettings& settings) {
    const int shadow = settings.shadow ? SHADOW_OFFSET : 0;
    return {d.left, d.top, d.right + shadow, d.bottom + shadow};
}

// Lit, a key's face is the same on every frame and at every press, only the glow over it
// pulses: its label (the key, Shift, Caps Lock and the layout), its size, the design and the
// colours decide it.
PictureKey litFacePicture(const KeyCap& key, const Rect& d, const FrameContext& context) {
    const AppSettings& s = context.settings;
    const KeyColors& c = s.colors;
    const TextFont font = keyLabelFont(key, shownLabel(key, context), context.metrics, true, s.aa);
    const auto layout = static_cast<std::uint64_t>(context.query.layoutId());
    const std::uint32_t flags = static_cast<std::uint32_t>(s.style & 0xFF) | (s.shadow ? 0x100u : 0u) |
                                (context.labelShift ? 0x200u : 0u) | (context.query.capsLockOn() ? 0x400u : 0u) |
                                (font.antialiased ? 0x800u : 0u);
    const Rect reach = keyFaceReach(d, s);
    return {{reach.width(), reach.height()},
            {flags, static_cast<std::uint32_t>(key.vk), static_cast<std::uint32_t>(layout),
             static_cast<std::uint32_t>(layout >> 32), s.shadow ? c.shadowColor : 0u, c.fillA, c.lineN, c.lineA, c.textA,
             static_cast<std::uint32_t>(font.height), static_cast<std::uint32_t>(font.weight),
             static_cast<std::uint32_t>(d.width())}};
}
}  // namespace

int fittedLabelHeight(std::wstring_view label, int keyWidth, int height) {
    const double room = keyWidth - keyWidth / LABEL_MARGIN_FRACTION;
    const double ems = estimatedLabelEms(label);
    if (ems * height <= room) return height;
    return std::max(MIN_LABEL_HEIGHT, static_cast<int>(room / ems));
}

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

void drawKey(Canvas& canvas, const KeyCap& key, const FrameContext& context, bool onBackground) {
    const bool lit = context.keys.isLit(key.vk, context.now);
    const Rect d = keyDrawingRect(key, lit, context.settings.style);
    if (lit && onBackground)
        canvas.drawPicture(litFacePicture(key, d, context), keyFaceReach(d, context.settings), COLOR_KEY,
                           KeyFaceDrawing(key, d, context));
    else
        drawKeyFace(canvas, key, d, lit, context);
    if (lit) drawPressGlow(canvas, d, key.vk, context.keys, context.now);
}
