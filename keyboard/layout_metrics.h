#pragma once
// Pixel metrics of the keyboard, all derived from one number: the drawing scale.

// The DPI at which a scale of 1.00 is drawn at its nominal size, and the range of DPIs a
// window is drawn for (a value outside it, from a broken setting, is taken as the nearest).
constexpr int BASE_DPI = 96;
constexpr int MIN_DPI = 48;
constexpr int MAX_DPI = 960;

// The drawing scale: the user's `scale` (1.00 is the size of a 96-DPI screen) at the DPI of
// the screen the window is on. Every pixel size of the window comes from this one number,
// and nothing else multiplies by the DPI. The usual DPIs are multiples of 24, so the factor
// is exact in binary: at 144 DPI, scale 1.00 draws exactly what 96 DPI draws at 1.50. A DPI
// of 0 (unknown) counts as 96.
double pixelScale(double scale, int dpi);

// `pixels` of pointer travel on a screen of `dpi`, counted in pixels of a 96-DPI screen, so
// that a gesture needs the same hand movement, measured against the window it changes, at
// every DPI.
double pixelsAt96(double pixels, int dpi);

struct LayoutMetrics {
    int keyWidth = 48;
    int keyHeight = 48;
    int keyGap = 8;
    int rowGap = 12;
    int marginX = 14;
    int marginY = 14;
    int labelWeight = 400;
    int labelWeightHeld = 600;
    double pixelScale = 1.0;  // the drawing scale the metrics were computed from
    friend bool operator==(const LayoutMetrics&, const LayoutMetrics&) = default;
};

// Recomputes every field of `m` from the drawing scale `scale`.
void updateMetrics(LayoutMetrics& m, double scale);

// Width of the speed panel right of the keys at the drawing scale: round(120 x scale).
int speedPanelWidth(double scale);
