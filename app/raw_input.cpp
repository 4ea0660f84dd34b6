// Raw keyboard reports: fetched and checked here, handed to the key state as three values.
#include <cstddef>
#include <vector>

#include "app/app_state.h"
#include "app/click_through.h"
#include "app/focus_watch.h"
#include "app/frame_timer.h"
#include "app/handlers.h"
#include "app/services.h"
#include "app/window_ops.h"
#include "input/key_report.h"

namespace {

std::optional<KeyReport> keyboardReportIn(const std::byte* data, UINT size) {
    // Nothing shorter than a whole keyboard report is read, whatever its header says.
    if (size < offsetof(RAWINPUT, data) + sizeof(RAWKEYBOARD)) return std::nullopt;
    const auto* raw = reinterpret_cast<const RAWINPUT*>(data);
    if (raw->header.dwType != RIM_TYPEKEYBOARD) return std::nullopt;
    const RAWKEYBOARD& kb = raw->data.keyboard;
    return KeyReport{kb.VKey, kb.MakeCode, (kb.Flags & RI_KEY_BREAK) != 0, (kb.Flags & RI_KEY_E0) != 0};
}

// The report of `input`, or none when its size is 0, the copy is short or failed, or it is
// not a whole keyboard report. A keyboard report fits the buffer on the stack, which saves
// asking for its size first on every key; anything larger is fetched the long way.
std::optional<KeyReport> fetchKeyboardReport(HRAWINPUT input) {
    alignas(RAWINPUT) std::byte onStack[sizeof(RAWINPUT)];
    UINT size = sizeof onStack;
    const UINT copied = GetRawInputData(input, RID_INPUT, onStack, &size, sizeof(RAWINPUTHEADER));
    if (copied != static_cast<UINT>(-1)) return copied == 0 ? std::nullopt : keyboardReportIn(onStack, copied);
    size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return std::nullopt;
    std::vector<std::byte> buffer(size);
    UINT room = size;
    if (GetRawInputData(input, RID_INPUT, buffer.data(), &room, sizeof(RAWINPUTHEADER)) != size) return std::nullopt;
    return keyboardReportIn(buffer.data(), size);
}

// Reports closer together than this come in a burst (a chord, a flood of reports): the first
// goes to the screen at once, the others with the next paint, all together. Telling a burst
// by the clock asks the system nothing, where asking the input queue would cost a round trip
// to the window server before every key under Wine.
constexpr Tick BURST_MS = 2;

void showKeyReport(HWND window, const KeyReport& report) {
    static Tick lastShownAt = 0;
    if (noteModifierReport(report.vkey, report.extended, report.keyUp)) updateClickThrough(window);
    if (report.vkey == static_cast<int>(HOTKEY_KEY_K) && report.keyUp) app().hotKey.release();
    AppState& a = app();
    InputContext context{a.layout, a.settings, keyboardQuery(), soundPlayer()};
    const Tick now = currentTick();
    const std::optional<Rect> area = onKeyReport(a.input, report, now, context);
    if (a.input.focus.wakeChanged) rescheduleFocusTimer();  // a Tab or an Enter: what follows waits a moment
    if (!area) return;
    if (IsWindowVisible(window) && now - lastShownAt >= BURST_MS) {
        paintAreaNow(window, *area, now);
        lastShownAt = now;
    } else {
        invalidateArea(*area);
    }
}

}  // namespace

LRESULT onRawInput(HWND window, LPARAM input) {
    const std::optional<KeyReport> report = fetchKeyboardReport(reinterpret_cast<HRAWINPUT>(input));
    if (!report) return 0;
    showKeyReport(window, *report);
    // Only once the key is on the screen: a resting tick's timer is set again here.
    wakeFrameTick();
    return 0;
}
