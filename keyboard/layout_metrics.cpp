#include "keyboard/layout_metrics.h"

#include <algorithm>

#include "common/types.h"

namespace {

constexpr int MIN_LABEL_WEIGHT = 300;
constexpr int MAX_LABEL_WEIGHT = 900;
constexpr int HELD_WEIGHT_EXTRA = 200;

// The label font gets bolder as the keys grow, 300 weight units per unit of scale. The
// product is truncated toward zero exactly as written, so 0.8 gives 341: (0.8 - 1) x -300
// is just below 60 in double precision.
int labelWeightForScale(double scale) {
    int weight = 400 - static_cast<int>((scale - 1.0) * -300.0);
    return std::clamp(weight, MIN_LABEL_WEIGHT, MAX_LABEL_WEIGHT);
}

int usableDpi(int dpi) {
    if (dpi <= 0) return BASE_DPI;
    return std::clamp(dpi, MIN_DPI, MAX_DPI);
}

}  // namespace

double pixelScale(double scale, int dpi) { return scale * (usableDpi(dpi) / static_cast<double>(BASE_DPI)); }

double pixelsAt96(double pixels, int dpi) { return pixels * (BASE_DPI / static_cast<double>(usableDpi(dpi))); }

void updateMetrics(LayoutMetrics& m, double scale) {
    m.pixelScale = scale;
    m.keyWidth = roundHalfUp(48.0 * scale);
    m.keyHeight = roundHalfUp(48.0 * scale);
    m.keyGap = roundHalfUp(8.0 * scale);
    m.rowGap = roundHalfUp(12.0 * scale);
    m.marginX = roundHalfUp(14.0 * scale);
    m.marginY = roundHalfUp(14.0 * scale);
    m.labelWeight = labelWeightForScale(scale);
    m.labelWeightHeld = std::min(m.labelWeight + HELD_WEIGHT_EXTRA, MAX_LABEL_WEIGHT);
}

int speedPanelWidth(double scale) { return roundHalfUp(120.0 * scale); }
