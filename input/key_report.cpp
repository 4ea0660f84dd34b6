#include "input/key_report.h"

#include "input/click_sound.h"
#include "keyboard/key_labels.h"

namespace {

bool isShiftKey(int code) { return code == VK_LSHIFT_CODE || code == VK_RSHIFT_CODE; }

// Every key-down counts, auto-repeats included; the Shift keys light up but neither click
// nor count as typed characters.
void pressKey(InputState& state, int code, Tick now, InputContext& context) {
    state.keys.held[code] = true;
    state.keys.lastPress[code] = now;
    state.keys.everPressed[code] = true;
    if (isShiftKey(code)) return;
    playClick(context.settings, context.sound);
    state.meter.recordPress(now);
}

}  // namespace

std::optional<Rect> onKeyReport(InputState& state, const KeyReport& report, Tick now, InputContext& context) {
    const int code = canonicalKey(report.makeCode, report.vkey, state.labelShift, context.query);
    // Only displayed keys (all within 0..255) reach the tables; every other key changes nothing.
    if (!isDisplayedKey(code) || !isKeyCodeInRange(code)) return std::nullopt;

    if (report.keyUp)
        state.keys.held[code] = false;  // lastPress stays, so a short tap stays lit a while
    else
        pressKey(state, code, now, context);

    // A Shift change alters every label at once: the next frame tick repaints the whole
    // window, so this key needs no area of its own.
    const bool shift = isShiftDown(state.keys, context.query);
    if (shift != state.labelShift) {
        state.labelShift = shift;
        state.fullRedrawPending = true;
        return std::nullopt;
    }
    const KeyCap* key = findKey(context.layout, code);
    if (key == nullptr) return std::nullopt;
    return key->rect.inflated(KEY_INVALIDATE_MARGIN, KEY_INVALIDATE_MARGIN);
}
