#include "input/key_report.h"

#include "input/click_sound.h"
#include "input/lit_keys.h"

namespace {

// Caps Lock or a layout switch arrive as key reports too; their new state may reach the
// platform's answers a moment after the report, so the ticks of this long look again.
constexpr Tick LABEL_RECHECK_MS = 300;

bool isShiftKey(int code) { return code == VK_LSHIFT_CODE || code == VK_RSHIFT_CODE; }

// The platform's physical key state tells the two Shift keys apart by their own codes.
int platformKeyOf(const KeyReport& report, int code) { return report.vkey == VK_SHIFT_GENERIC ? code : report.vkey; }

void setHeld(InputState& state, int code) { state.keys.held[code] = state.heldKeys.holdsCode(code); }

std::optional<Rect> keyArea(const KeyboardLayout& layout, int code) {
    const KeyCap* key = findKey(layout, code);
    if (key == nullptr) return std::nullopt;
    return keyRepaintArea(*key);
}

// Every key-down counts, auto-repeats included; the Shift keys light up but neither click
// nor count as typed characters.
void pressKey(InputState& state, const HeldKey& key, Tick now, InputContext& context) {
    // An auto-repeat under another Shift state may light another key than the first
    // key-down did: the key it lit before goes out, and both areas need repainting.
    if (const HeldKey* before = state.heldKeys.find(key.id); before != nullptr && before->code != key.code) {
        const int previous = before->code;
        state.heldKeys.forget(key.id);
        setHeld(state, previous);
        state.fullRedrawPending = true;
    }
    state.heldKeys.hold(key);
    state.keys.held[key.code] = true;
    state.keys.lastPress[key.code] = now;
    state.keys.everPressed[key.code] = true;
    if (isShiftKey(key.code)) return;
    playClick(context.settings, context.sound);
    state.meter.recordPress(now);
}

// A key-up releases what the key-down of the same physical key lit. One whose key-down
// never came (held before the program started) releases the key it maps to now, unless
// another physical key holds that one.
int releasedCode(InputState& state, const KeyReport& report, int id, InputContext& context) {
    if (const std::optional<int> code = state.heldKeys.release(id)) return *code;
    return canonicalKey(report.makeCode, report.vkey, state.labelShift, context.query);
}

// A Shift change alters every label at once: the next frame tick repaints the whole window,
// so the key needs no area of its own. Only a Shift key can change it here; the system's own
// Shift state is looked at by the tick after every report.
std::optional<Rect> areaAfterChange(InputState& state, const KeyboardLayout& layout, KeyboardQuery& query, int code) {
    if (isShiftKey(code) && updateLabelShift(state, query)) return std::nullopt;
    return keyArea(layout, code);
}

}  // namespace

void startInput(InputState& state, KeyboardQuery& query, Tick now) {
    state.labelShift = isShiftDown(state.keys, query);
    state.fullRedrawPending = false;
    state.labelState = currentLabelState(query);
    state.labelCheckedSecond = now / 1000;
}

bool updateLabelShift(InputState& state, KeyboardQuery& query) {
    const bool shift = !state.privateInput && isShiftDown(state.keys, query);
    if (shift == state.labelShift) return false;
    state.labelShift = shift;
    state.fullRedrawPending = true;
    return true;
}

std::optional<Rect> onKeyReport(InputState& state, const KeyReport& report, Tick now, InputContext& context) {
    state.labelRecheckUntil = now + LABEL_RECHECK_MS;
    if (state.privateInput) return std::nullopt;
    const int id = physicalKeyId(report.makeCode, report.extended, report.vkey);
    const int code = report.keyUp ? releasedCode(state, report, id, context)
                                  : canonicalKey(report.makeCode, report.vkey, state.labelShift, context.query);
    // Only displayed keys (all within 0..255) reach the tables; every other key changes nothing.
    if (!isDisplayedKey(code) || !isKeyCodeInRange(code)) return std::nullopt;

    if (report.keyUp)
        setHeld(state, code);  // lastPress stays, so a short tap stays lit a while
    else
        pressKey(state, {id, code, platformKeyOf(report, code), now}, now, context);
    return areaAfterChange(state, context.layout, context.query, code);
}

std::optional<Rect> releaseHeldKey(InputState& state, int id, const KeyboardLayout& layout, KeyboardQuery& query) {
    const std::optional<int> code = state.heldKeys.release(id);
    if (!code) return std::nullopt;
    setHeld(state, *code);
    return areaAfterChange(state, layout, query, *code);
}

void enterPrivateInput(InputState& state, KeyboardQuery& query) {
    if (state.privateInput) return;
    state.privateInput = true;
    releaseAllKeys(state, query);
}

void leavePrivateInput(InputState& state, KeyboardQuery& query) {
    if (!state.privateInput) return;
    state.privateInput = false;
    updateLabelShift(state, query);
}

void releaseAllKeys(InputState& state, KeyboardQuery& query) {
    state.heldKeys.clear();
    state.keys.held.fill(false);
    updateLabelShift(state, query);
    state.fullRedrawPending = true;
}
