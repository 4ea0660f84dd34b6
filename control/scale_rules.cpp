#include "control/scale_rules.h"

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

#include "settings/app_settings.h"

namespace {

constexpr double SCALE_CHANGE_THRESHOLD = 0.0001;
constexpr int WHEEL_NOTCH = 120;
// The edit field holds at most 63 characters and the terminator.
constexpr std::size_t SCALE_TEXT_LIMIT = 63;

double dragStep(Modifiers mods) {
    if (mods.ctrl) return 1.0 + 0.0025;
    if (mods.shift) return 1.0 + 0.01;
    return 1.0 + 0.005;
}

double wheelBase(Modifiers mods) {
    double base = 1.05;
    if (mods.ctrl) base = 1.02;
    if (mods.shift) base = 1.1;
    return base;
}

}  // namespace

bool isScaleChange(double current, double proposed) {
    return std::fabs(proposed - current) > SCALE_CHANGE_THRESHOLD;
}

double dragScale(double scaleAtPress, int dx, int dy, Modifiers mods, int dpi) {
    const long long travel = static_cast<long long>(dx) + dy;
    const double exponent = pixelsAt96(static_cast<double>(travel), dpi) * 0.5;
    return clampScale(scaleAtPress * std::pow(dragStep(mods), exponent));
}

std::optional<double> wheelScale(double current, int wheelDelta, Modifiers mods) {
    const int notches = wheelDelta / WHEEL_NOTCH;
    if (notches == 0) return std::nullopt;
    return clampScale(current * std::pow(wheelBase(mods), notches));
}

std::optional<double> parseScaleText(std::wstring_view text) {
    const std::wstring bounded(text.substr(0, SCALE_TEXT_LIMIT));
    const double value = std::wcstod(bounded.c_str(), nullptr);
    // Written so that NaN is refused too.
    if (!(value > 0.0)) return std::nullopt;
    return clampScale(value);
}

std::wstring formatScaleText(double scale) {
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"%.2f", scale);
    return text;
}
