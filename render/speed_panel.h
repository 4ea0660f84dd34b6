#pragma once
// The typing-speed panel right of the keys: CPM figure, bar and CPS line.
#include "common/types.h"
#include "input/speed_meter.h"
#include "keyboard/layout_metrics.h"
#include "render/canvas.h"
#include "settings/app_settings.h"

Rect speedPanelRect(const Rect& client, const LayoutMetrics& m, double scale);

void drawSpeedPanel(Canvas& canvas, const Rect& panel, const SpeedMeter& meter, const KeyColors& colors, Tick now);
