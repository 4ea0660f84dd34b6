#include "render/frame.h"

#include "render/key_drawing.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"

namespace {
bool meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Everything a key draws (grown body, shadow, label, glow) stays within its invalidation
// margin, so a key whose margin misses the update area changes no pixel of it.
bool keyReaches(const KeyCap& key, const std::optional<Rect>& updateArea) {
    return !updateArea || meets(key.rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN), *updateArea);
}
}  // namespace

void drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context, std::optional<Rect> updateArea) {
    canvas.fillRect(client, COLOR_KEY);
    for (const KeyCap& key : context.layout) {
        if (keyReaches(key, updateArea)) drawKey(canvas, key, context);
    }
    drawSpeedPanel(canvas, speedPanelRect(client, context.metrics, context.settings.scale), context.meter,
                   context.settings.colors, context.now);
    drawResizeGrip(canvas, client, context.settings.scale);
}
