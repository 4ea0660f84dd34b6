#include "render/frame.h"

#include <algorithm>
#include <vector>

#include "render/key_drawing.h"
#include "render/resize_grip.h"
#include "render/speed_panel.h"

namespace {
bool meets(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The rectangles of an update region do not overlap, so they cover `target` exactly when the
// parts of it they hold add up to all of it.
bool covers(std::span<const Rect> areas, const Rect& target) {
    long long covered = 0;
    for (const Rect& area : areas) {
        const Rect part = intersection(area, target);
        if (!part.empty()) covered += static_cast<long long>(part.width()) * part.height();
    }
    return covered >= static_cast<long long>(target.width()) * target.height();
}

bool reaches(const Rect& drawingReach, std::span<const Rect> updateAreas) {
    return std::any_of(updateAreas.begin(), updateAreas.end(), [&](const Rect& area) { return meets(drawingReach, area); });
}

// Everything a key draws stays within its drawing rectangle (grown while it is lit), its
// shadow a few pixels beyond: the body fills it, the label (a character or a short word at
// half the key's height) is centred in it, and so is the glow. An unlit key next to a lit
// one therefore needs drawing only when the lit key's area reaches into its own rectangle.
Rect keyReach(const KeyCap& key, const FrameContext& frame) {
    const Rect d = keyDrawingRect(key, frame.keys.isLit(key.vk, frame.now), frame.settings.style);
    return frame.settings.shadow ? d.inflated(SHADOW_OFFSET, SHADOW_OFFSET) : d;
}

// The grip's white strokes start up to one pixel left of its square, with a 2-pixel pen.
Rect gripReach(const Rect& client, double scale) { return gripRect(client, scale).inflated(2, 2); }

}  // namespace

// Only the update region of a paint reaches the screen, so outside it nothing needs
// drawing: the background is filled there alone, and a key, the panel or the grip is drawn
// only when what it draws can reach the region. Inside, the pixels are the whole frame's.
bool drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context, std::span<const Rect> updateAreas) {
    // Caps Lock is read once per frame at most: every label of a frame shows the same state,
    // and the platform is asked once rather than once per key.
    KeyboardQueryWithCapsLock query(context.query, context.capsLock);
    const FrameContext frame{context.settings, context.metrics, context.layout,     context.keys,
                             context.meter,    query,            context.labelShift, context.now,
                             context.capsLock};

    for (const Rect& area : updateAreas) canvas.fillRect(intersection(client, area), COLOR_KEY);
    // Keys are drawn in order, a later one over an earlier one where they meet.
    std::vector<Rect> drawnKeys;
    drawnKeys.reserve(frame.layout.size());
    for (const KeyCap& key : frame.layout) {
        const Rect reach = keyReach(key, frame);
        if (!reaches(reach, updateAreas)) continue;
        drawKey(canvas, key, frame, !reaches(reach, drawnKeys));
        drawnKeys.push_back(reach);
    }
    // The panel and the grip are drawn at the metrics' scale, which the DPI is part of.
    const Rect panel = speedPanelRect(client, frame.metrics, frame.metrics.pixelScale);
    const Rect panelReach = intersection(client, speedPanelReach(panel, frame.metrics));
    if (reaches(panelReach, updateAreas))
        drawSpeedPanel(canvas, panel, frame.metrics, frame.meter, frame.settings.colors, frame.now,
                       frame.settings.aa);
    if (reaches(gripReach(client, frame.metrics.pixelScale), updateAreas))
        drawResizeGrip(canvas, client, frame.metrics.pixelScale);
    return covers(updateAreas, panelReach);
}

void drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context, std::optional<Rect> updateArea) {
    const Rect area = updateArea.value_or(client);
    drawFrame(canvas, client, context, std::span<const Rect>(&area, 1));
}
