#pragma once
// The typing-speed panel right of the keys: CPM figure, bar and CPS line.
#include "common/types.h"
#include "input/speed_meter.h"
#include "keyboard/layout_metrics.h"
#include "render/canvas.h"
#include "settings/app_settings.h"

Rect speedPanelRect(const Rect& client, const LayoutMetrics& m, double scale);

// Everything the panel can draw. Its figures are centred across it and may be wider than it
// (four digits, or a wide font standing in for the one asked for): their fonts are at most
// 0.6 of the panel's width high (the CPS line 0.45 of that), and a figure is a few characters
// no wider than their height, so no text reaches one panel width past a side. A refresh of
// the panel covers all of it, or an old, wider figure would stay beside the panel.
Rect speedPanelReach(const Rect& panel);

void drawSpeedPanel(Canvas& canvas, const Rect& panel, const SpeedMeter& meter, const KeyColors& colors, Tick now);
