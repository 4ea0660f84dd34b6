#pragma once
// A keyboard, key table and speed meter to draw frames from in the rendering tests.
#include <map>
#include <optional>
#include <utility>

#include "input/key_state.h"
#include "input/speed_meter.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "keyboard/layout_metrics.h"
#include "render/frame.h"
#include "settings/app_settings.h"

namespace render_test {

// Types lower-case letters, upper-case with Shift, and whatever a test maps a key to.
class TypingQuery : public KeyboardQuery {
public:
    std::map<int, std::pair<wchar_t, wchar_t>> characters;  // vk -> (plain, shifted)

    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool) override {
        if (vk >= 'A' && vk <= 'Z') return static_cast<wchar_t>(shift ? vk : vk - 'A' + 'a');
        auto found = characters.find(vk);
        if (found == characters.end()) return std::nullopt;
        return shift ? found->second.second : found->second.first;
    }
    bool capsLockOn() override { return false; }
    std::uintptr_t layoutId() override { return 1; }
    bool systemShiftDown() override { return false; }
};

struct Scene {
    AppSettings settings;
    LayoutMetrics metrics;
    KeyboardLayout layout;
    Size client;
    KeyStateTable keys;
    SpeedMeter meter;
    TypingQuery query;
    Tick now = 100000;

    explicit Scene(double scale = 1.0, int dpi = BASE_DPI) { rescale(scale, dpi); }

    // The user's scale on a screen of `dpi`, drawn as the program draws it.
    void rescale(double scale, int dpi = BASE_DPI) {
        settings.scale = scale;
        const double drawingScale = pixelScale(scale, dpi);
        updateMetrics(metrics, drawingScale);
        client = buildLayout(layout, metrics, drawingScale);
    }
    Rect clientRect() const { return {0, 0, client.width, client.height}; }
    bool labelShift = false;

    FrameContext context() { return FrameContext{settings, metrics, layout, keys, meter, query, labelShift, now}; }

    // Pressed `ago` ms before now and released.
    void tap(int vk, Tick ago) {
        keys.everPressed[vk] = true;
        keys.lastPress[vk] = now - ago;
    }
};

}  // namespace render_test
