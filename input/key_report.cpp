#include "input/key_report.h"

#include "input/click_sound.h"
#include "input/lit_keys.h"
#include "keyboard/key_mapping.h"

namespace {

// Caps Lock or a layout switch arrive as key reports too; their new state may reach the
// platform's answers a moment after the report, so the ticks of this long look again.
constexpr Tick LABEL_RECHECK_MS = 300;

ReportedKey reportedKey(const KeyReport& report) { return {report.vkey, report.makeCode, report.extended}; }

void setHeld(InputState& state, int code) { state.keys.held[code] = state.heldKeys.holdsCode(code); }

// Only keys that type a character count toward the speed, each key-down of theirs, auto-repeats
// included; a keypad key without Num Lock moves the caret and types nothing. Modifiers (Shift,
// Ctrl, Alt, Windows) light up but neither click nor count; every other key clicks.
bool countsAsTyped(const KeyCap& key, const KeyReport& report) {
    return (key.kind == KeyKind::Typed || key.kind == KeyKind::TypedFixed) && !isNavigationReport(report.vkey);
}

void pressKey(InputState& state, const HeldKey& key, bool click, bool counts, const KeyCap& cap,
              InputContext& context) {
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
    state.keys.lastPress[key.code] = key.pressedAt;
    state.keys.everPressed[key.code] = true;
    if (cap.kind == KeyKind::Modifier) return;
    if (click) playClick(context.settings, context.sound);
    if (counts) state.meter.recordPress(key.pressedAt);
}

// A key-up releases what the key-down of the same physical key lit. One whose key-down
// never came (held before the program started) releases the key it maps to now, unless
// another physical key holds that one.
std::optional<int> releasedCode(InputState& state, const KeyReport& report, int id, const KeyboardLayout& layout,
                                KeyboardQuery& query) {
    if (const std::optional<int> code = state.heldKeys.release(id)) return code;
    if (const KeyCap* key = keyForReport(reportedKey(report), layout, state.labelShift, query)) return key->vk;
    return std::nullopt;
}

// A Shift change alters every label at once: the next frame tick repaints the whole window,
// so the key needs no area of its own. Only a Shift key can change it here; the system's own
// Shift state is looked at by the tick after every report. `key` is the key of `code` when
// the keyboard shows it.
std::optional<Rect> areaAfterChange(InputState& state, KeyboardQuery& query, int code, const KeyCap* key) {
    if (isShiftKey(code) && updateLabelShift(state, query)) return std::nullopt;
    if (key == nullptr) return std::nullopt;
    return keyRepaintArea(*key);
}

void showLabelState(InputState& state, const LabelState& current) {
    if (current == state.labelState) return;
    state.labelState = current;
    state.fullRedrawPending = true;
}

// The Caps Lock key changes every letter's label, whether or not the keyboard shows it: the
// next tick repaints them all, without waiting for the system's key state to show the press.
void noteCapsLockReport(InputState& state, const KeyReport& report, Tick now, KeyboardQuery& query) {
    noteCapsLockKey(state.capsLock, report.keyUp, query.capsLockOn(), now);
    showLabelState(state, {state.capsLock.on, state.labelState.layout});
}

// The report typed at `at`, shown: the key state, the click (`click`) and the count.
std::optional<Rect> applyKeyReport(InputState& state, const KeyReport& report, Tick at, bool click,
                                   InputContext& context) {
    const int id = physicalKeyId(report.makeCode, report.extended, report.vkey);
    // Keys are mapped with Caps Lock as the labels show it.
    KeyboardQueryWithCapsLock query(context.query, state.capsLock.on);
    if (report.keyUp) {
        // A key lit before the keyboard was switched to another arrangement goes out too.
        const std::optional<int> code = releasedCode(state, report, id, context.layout, query);
        if (!code || !isKeyCodeInRange(*code)) return std::nullopt;
        setHeld(state, *code);  // lastPress stays, so a short tap stays lit a while
        return areaAfterChange(state, context.query, *code, findKey(context.layout, *code));
    }
    // Only keys shown (all with codes below KEY_CODE_COUNT) reach the tables; every other key
    // changes nothing.
    const KeyCap* key = keyForReport(reportedKey(report), context.layout, state.labelShift, query);
    if (key == nullptr || !isKeyCodeInRange(key->vk)) return std::nullopt;
    pressKey(state, {id, key->vk, platformKeyOf(reportedKey(report)), at}, click, countsAsTyped(*key, report), *key,
             context);
    return areaAfterChange(state, context.query, key->vk, key);
}

// What was held back, in the order it came, each report at its own time. A key that would
// no longer be lit by now makes no click: a burst of late clicks would tell nothing.
void replayHeldReports(InputState& state, Tick now, InputContext& context) {
    for (std::size_t i = 0; i < state.heldReports.count; ++i) {
        const HeldReport& held = state.heldReports[i];
        const KeyReport report{held.vkey, held.makeCode, held.keyUp, held.extended};
        applyKeyReport(state, report, held.at, now - held.at < LIT_HOLD_MS, context);
    }
    state.heldReports.clear();
}

}  // namespace

void startInput(InputState& state, KeyboardQuery& query, Tick now) {
    state.labelShift = isShiftDown(state.keys, query);
    followForegroundLayout(query);
    startCapsLock(state.capsLock, query.capsLockOn());
    state.labelState = {state.capsLock.on, query.layoutId()};
    state.fullRedrawPending = false;
    state.labelCheckedSecond = now / 1000;
}

void refreshLabelState(InputState& state, KeyboardQuery& query, Tick now) {
    followForegroundLayout(query);
    noteSystemCapsLock(state.capsLock, query.capsLockOn(), now);
    showLabelState(state, {state.capsLock.on, query.layoutId()});
}

void onForegroundChange(InputState& state, KeyboardQuery& query, Tick now) {
    refreshLabelState(state, query, now);
    state.labelRecheckUntil = now + LABEL_RECHECK_MS;
}

bool updateLabelShift(InputState& state, KeyboardQuery& query) {
    // A Shift that may belong to a password waits for the verdict with the rest.
    if (state.appliedPrivacy == PrivacyMode::Holding) return false;
    const bool shift = state.appliedPrivacy == PrivacyMode::Open && isShiftDown(state.keys, query);
    if (shift == state.labelShift) return false;
    state.labelShift = shift;
    state.fullRedrawPending = true;
    return true;
}

std::optional<Rect> onKeyReport(InputState& state, const KeyReport& report, Tick now, InputContext& context) {
    state.labelRecheckUntil = now + LABEL_RECHECK_MS;
    // Caps Lock is followed in every privacy mode: it is the system's state, not a key shown.
    if (report.vkey == VK_CAPITAL_CODE) noteCapsLockReport(state, report, now, context.query);
    const PrivacyMode mode = privacyMode(state.focus, now);
    if (mode != state.appliedPrivacy) settlePrivacy(state, now, context);
    noteKeyPressed(state.focus, report.vkey, report.keyUp, now);
    if (mode == PrivacyMode::Open) return applyKeyReport(state, report, now, true, context);
    if (mode == PrivacyMode::Holding)
        state.heldReports.push({report.vkey, report.makeCode, report.keyUp, report.extended, now});
    return std::nullopt;
}

std::optional<Rect> releaseHeldKey(InputState& state, int id, const KeyboardLayout& layout, KeyboardQuery& query) {
    const std::optional<int> code = state.heldKeys.release(id);
    if (!code) return std::nullopt;
    setHeld(state, *code);
    return areaAfterChange(state, query, *code, findKey(layout, *code));
}

void settlePrivacy(InputState& state, Tick now, InputContext& context) {
    const PrivacyMode mode = privacyMode(state.focus, now);
    if (mode == state.appliedPrivacy) return;
    state.appliedPrivacy = mode;
    switch (mode) {
    case PrivacyMode::Holding:
        return;  // the labels too wait for the verdict
    case PrivacyMode::Private:
        state.heldReports.clear();
        if (!state.keysPrivate) {
            state.keysPrivate = true;
            releaseAllKeys(state, context.query);
        }
        return;
    case PrivacyMode::Open:
        state.keysPrivate = false;
        replayHeldReports(state, now, context);
        updateLabelShift(state, context.query);
        return;
    }
}

void releaseAllKeys(InputState& state, KeyboardQuery& query) {
    state.heldKeys.clear();
    state.capsLock.keyHeld = false;
    state.keys.held.fill(false);
    updateLabelShift(state, query);
    state.fullRedrawPending = true;
}
