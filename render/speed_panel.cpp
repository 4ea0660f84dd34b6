#include "render/speed_panel.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string>

namespace {
constexpr Color PANEL_BACKGROUND = rgb(245, 245, 245);
constexpr Color BAR_FILL = rgb(0, 120, 255);
constexpr int INNER_INSET = 6;
constexpr int CPM_PER_PRESS = 60;
constexpr int BAR_ROOM_MIN = 20;
constexpr int BAR_WIDTH_MIN = 24;
constexpr int BAR_BOTTOM_GAP = 8;
constexpr int BAR_HIGHEST_TOP = 28;
constexpr int CPM_WEIGHT = 900;
constexpr int CPS_WEIGHT = 700;
constexpr int TEXT_TOP_GAP = 4;
constexpr int TEXT_ROW_GAP = 6;

struct BarGeometry {
    int room;
    int width;
    Rect rect;
};

BarGeometry barGeometry(const Rect& inner, double cpm) {
    BarGeometry bar{};
    bar.room = std::max(inner.height() - 40, BAR_ROOM_MIN);
    bar.width = std::max(inner.width() - 20, BAR_WIDTH_MIN);
    bar.rect.left = inner.left + (inner.right - bar.width - inner.left) / 2;
    bar.rect.right = bar.rect.left + bar.width;
    bar.rect.bottom = inner.bottom - BAR_BOTTOM_GAP;
    bar.rect.top = std::max(bar.rect.bottom - static_cast<int>(cpm / CPM_CAP * bar.room + 0.5),
                            inner.top + BAR_HIGHEST_TOP);
    return bar;
}

void drawInnerFrame(Canvas& canvas, const Rect& i, Color pen) {
    const Point path[] = {{i.left, i.top}, {i.right, i.top}, {i.right, i.bottom}, {i.left, i.bottom}, {i.left, i.top}};
    canvas.polyline(path, std::size(path), pen, 1);
}

// to_chars ignores the locale, so the decimal separator is always '.'.
std::wstring widen(const char* first, const char* last) { return std::wstring(first, last); }

std::wstring cpmText(double cpm) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<int>(cpm + 0.5));
    return widen(buffer, result.ptr);
}

std::wstring cpsText(double cps) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, cps, std::chars_format::fixed, 2);
    return widen(buffer, result.ptr) + L" CPS";
}
}  // namespace

Rect speedPanelRect(const Rect& client, const LayoutMetrics& m, double scale) {
    Rect panel;
    panel.left = client.right - speedPanelWidth(scale) - m.marginX;
    if (panel.left < client.left + m.marginX) panel.left = client.left + m.marginX + 10;
    panel.top = m.marginY;
    panel.right = client.right - m.marginX;
    panel.bottom = client.bottom - m.marginY;
    return panel;
}

Rect speedPanelReach(const Rect& panel, const LayoutMetrics& m) { return panel.inflated(m.keyGap, 0); }

void drawSpeedPanel(Canvas& canvas, const Rect& panel, const LayoutMetrics& m, const SpeedMeter& meter,
                    const KeyColors& colors, Tick now, bool antialiased) {
    canvas.fillRect(panel, PANEL_BACKGROUND);
    const Rect inner = panel.inflated(-INNER_INSET, -INNER_INSET);
    drawInnerFrame(canvas, inner, colors.lineN);

    const double cps = meter.shownFigure(now);
    const double cpm = std::min(cps * CPM_PER_PRESS, CPM_CAP);

    const BarGeometry bar = barGeometry(inner, cpm);
    canvas.fillRect(bar.rect, BAR_FILL);
    canvas.frameRect(bar.rect, colors.lineN);

    const int cpmHeight = std::clamp(static_cast<int>(std::min(bar.width, inner.width()) * 0.6), 16, 64);
    const int cpmTop = inner.top + TEXT_TOP_GAP;
    const Rect reach = speedPanelReach(panel, m);
    canvas.drawText({cpmHeight, CPM_WEIGHT, antialiased}, colors.textN, cpmText(cpm),
                    {{inner.left, cpmTop, inner.right, cpmTop + cpmHeight}, false, reach});

    const int cpsHeight = std::max(10, static_cast<int>(cpmHeight * 0.45));
    const int cpsTop = cpmTop + cpmHeight + TEXT_ROW_GAP;
    canvas.drawText({cpsHeight, CPS_WEIGHT, antialiased}, colors.textN, cpsText(cps),
                    {{inner.left, cpsTop, inner.right, cpsTop + cpsHeight}, false, reach});
}
