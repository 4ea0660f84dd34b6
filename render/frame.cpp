#include "render/frame.h"

#include <algorithm>

#include "render/key_drawing.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"

namespace {
bool meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect intersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool reaches(const Rect& drawingReach, const std::optional<Rect>& updateArea) {
    return !updateArea || meets(drawingReach, *updateArea);
}

// Everything a key draws (grown body, shadow, label, glow) stays within its invalidation
// margin, so a key whose margin misses the update area changes no pixel of it.
Rect keyReach(const KeyCap& key) { return key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN); }

// The panel's figures are centred across it and may be wider than it. Their fonts are at
// most 0.6 of the panel's width high (the CPS line 0.45 of that), and a figure is a few
// characters no wider than their height, so no text reaches one panel width past a side.
Rect panelReach(const Rect& panel) { return panel.inflated(panel.width(), 0); }

// The grip's white strokes start up to one pixel left of its square, with a 2-pixel pen.
Rect gripReach(const Rect& client, double scale) { return gripRect(client, scale).inflated(2, 2); }

// Caps Lock is read once per frame: every label of a frame shows the same state, and the
// platform is asked once rather than once per key.
class FrameKeyboardQuery : public KeyboardQuery {
public:
    explicit FrameKeyboardQuery(KeyboardQuery& source) : source_(source) {}
    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) override {
        return source_.keyCharacter(vk, shift, capsLock);
    }
    bool capsLockOn() override {
        if (!capsLock_) capsLock_ = source_.capsLockOn();
        return *capsLock_;
    }
    bool systemShiftDown() override { return source_.systemShiftDown(); }

private:
    KeyboardQuery& source_;
    std::optional<bool> capsLock_;
};
}  // namespace

// Only the update area of a paint reaches the screen, so outside it nothing needs drawing:
// the background is filled there alone, and a key, the panel or the grip is drawn only when
// what it draws can reach the area. Inside the area the pixels are those of the whole frame.
void drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context, std::optional<Rect> updateArea) {
    FrameKeyboardQuery query(context.query);
    const FrameContext frame{context.settings, context.metrics, context.layout, context.keys,
                             context.meter,    query,            context.labelShift, context.now};

    canvas.fillRect(updateArea ? intersection(client, *updateArea) : client, COLOR_KEY);
    for (const KeyCap& key : frame.layout) {
        if (reaches(keyReach(key), updateArea)) drawKey(canvas, key, frame);
    }
    const Rect panel = speedPanelRect(client, frame.metrics, frame.settings.scale);
    if (reaches(panelReach(panel), updateArea))
        drawSpeedPanel(canvas, panel, frame.meter, frame.settings.colors, frame.now);
    if (reaches(gripReach(client, frame.settings.scale), updateArea))
        drawResizeGrip(canvas, client, frame.settings.scale);
}
