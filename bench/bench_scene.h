#pragma once
// The program's records as they stand at one moment of a benchmark: settings, metrics and
// layout at a scale, with a chosen number of keys lit.
#include "input/key_report.h"
#include "keyboard/keyboard_query.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"
#include "settings/app_settings.h"

struct BenchScene {
    AppSettings settings;
    LayoutMetrics metrics;
    KeyboardLayout layout;
    InputState input;
    Size windowSize;
    Tick now = 0;
};

// Default settings at `scale`, showing `arrangement`; the first `litCount` keys of the layout
// held down, pressed 100 ms before `now`, so that their glow sits mid-pulse; a minute of
// typing at 5 presses a second in the speed meter.
void setUpScene(BenchScene& scene, double scale, int litCount, Tick now = 10'000'000,
                const KeyArrangement& arrangement = COMPACT_KEYBOARD);

// A keyboard query that types like a United States layout, answered from a table, so that a
// benchmark of the core does not measure the platform's layout look-ups.
class TableKeyboardQuery : public KeyboardQuery {
public:
    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) override;
    bool capsLockOn() override { return false; }
    std::uintptr_t layoutId() override { return 1; }
    bool systemShiftDown() override { return false; }
};
