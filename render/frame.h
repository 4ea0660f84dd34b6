#pragma once
// The composition of one whole frame.
#include <optional>
#include <span>

#include "common/types.h"
#include "input/key_state.h"
#include "input/speed_meter.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "keyboard/layout_metrics.h"
#include "render/canvas.h"
#include "render/color_key.h"
#include "settings/app_settings.h"

struct FrameContext {
    const AppSettings& settings;
    const LayoutMetrics& metrics;
    const KeyboardLayout& layout;
    const KeyStateTable& keys;
    const SpeedMeter& meter;
    KeyboardQuery& query;
    bool labelShift = false;
    Tick now = 0;
    // Caps Lock as the frame tick last found it, so that every label of every paint agrees
    // with the others until the tick repaints them all; asked of the query when not given.
    std::optional<bool> capsLock = std::nullopt;
};

// Background, keys in layout order, speed panel, resize grip. Given the rectangles of the
// paint's update region, only the background inside them is filled and the keys, panel and
// grip whose drawing cannot reach any of them are left out: only that region of the frame
// reaches the screen, and it comes out the same.
// Returns whether the update areas cover the speed panel's whole reach, so that the figures
// drawn are the ones the screen now shows.
bool drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context, std::span<const Rect> updateAreas);

// The whole frame, or the frame for one update rectangle.
void drawFrame(Canvas& canvas, const Rect& client, const FrameContext& context,
               std::optional<Rect> updateArea = std::nullopt);
