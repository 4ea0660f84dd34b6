#pragma once
// Pixel metrics of the keyboard, all derived from the scale.

struct LayoutMetrics {
    int keyWidth = 48;
    int keyHeight = 48;
    int keyGap = 8;
    int rowGap = 12;
    int marginX = 14;
    int marginY = 14;
    int labelWeight = 400;
    int labelWeightHeld = 600;
    friend bool operator==(const LayoutMetrics&, const LayoutMetrics&) = default;
};

// Recomputes every field of `m` from `scale`.
void updateMetrics(LayoutMetrics& m, double scale);

// Width of the speed panel right of the keys: round(120 x scale).
int speedPanelWidth(double scale);
