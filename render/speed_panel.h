#pragma once
// The typing-speed panel right of the keys: CPM figure, bar and CPS line.
#include "common/types.h"
#include "input/speed_meter.h"
#include "keyboard/layout_metrics.h"
#include "render/canvas.h"
#include "settings/app_settings.h"

// The panel's place in the client area at the drawing scale `scale`.
Rect speedPanelRect(const Rect& client, const LayoutMetrics& m, double scale);

// Everything the panel can draw: the panel and the gap between it and the keys on either
// side. Its figures are centred across it and may be wider than it (four digits, or a wide
// font standing in for the one asked for), and are cut at this reach: the CPS line is not
// capped, and a flood of presses makes it as wide as it likes. A refresh of the panel covers
// all of it, or an old, wider figure would stay beside the panel; and it reaches no key.
Rect speedPanelReach(const Rect& panel, const LayoutMetrics& m);

// With `antialiased`, the two figures are smoothed in grey levels.
void drawSpeedPanel(Canvas& canvas, const Rect& panel, const LayoutMetrics& m, const SpeedMeter& meter,
                    const KeyColors& colors, Tick now, bool antialiased = false);
