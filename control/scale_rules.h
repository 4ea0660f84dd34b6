#pragma once
// The arithmetic of every way the scale changes: grip drag, wheel and the typed value.
#include <optional>
#include <string_view>

#include "keyboard/layout_metrics.h"

struct Modifiers {
    bool alt = false;
    bool ctrl = false;
    bool shift = false;
};

// A new scale counts only when it differs from the current one by more than 0.0001.
bool isScaleChange(double current, double proposed);

// Scale for a grip drag of (dx, dy) pixels since the press on a screen of `dpi`: each pixel of
// travel right or down, counted as on a 96-DPI screen, is half a step of 1.005 (Ctrl 1.0025,
// else Shift 1.01), clamped to 0.5..3.0. So at 144 DPI, where the window is half as large
// again in pixels, the grip needs half as much travel again for the same change.
double dragScale(double scaleAtPress, int dx, int dy, Modifiers mods, int dpi = BASE_DPI);

// Scale after a wheel delta: whole notches of 120 only, base 1.05 (Ctrl 1.02, Shift 1.1,
// Shift winning), clamped; none when less than a notch.
std::optional<double> wheelScale(double current, int wheelDelta, Modifiers mods);

// The scale typed in the scale dialog, clamped; none when the text does not start with a
// number greater than 0 (the dialog then beeps and stays open).
std::optional<double> parseScaleText(std::wstring_view text);

// The proposed text of the scale dialog: two decimals with a point.
std::wstring formatScaleText(double scale);
