// Raw keyboard reports: fetched and checked here, handed to the key state as three values.
#include <cstddef>
#include <vector>

#include "app/app_state.h"
#include "app/click_through.h"
#include "app/handlers.h"
#include "app/services.h"
#include "app/window_ops.h"
#include "input/key_report.h"

namespace {

// The report of `input`, or none when its size is 0, the copy is short or failed, or it is
// not a whole keyboard report.
std::optional<KeyReport> fetchKeyboardReport(HRAWINPUT input) {
    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return std::nullopt;
    std::vector<std::byte> buffer(size);
    UINT copied = size;
    if (GetRawInputData(input, RID_INPUT, buffer.data(), &copied, sizeof(RAWINPUTHEADER)) != size) return std::nullopt;
    // Nothing shorter than a whole keyboard report is read, whatever its header says.
    if (size < offsetof(RAWINPUT, data) + sizeof(RAWKEYBOARD)) return std::nullopt;
    const auto* raw = reinterpret_cast<const RAWINPUT*>(buffer.data());
    if (raw->header.dwType != RIM_TYPEKEYBOARD) return std::nullopt;
    const RAWKEYBOARD& kb = raw->data.keyboard;
    return KeyReport{kb.VKey, kb.MakeCode, (kb.Flags & RI_KEY_BREAK) != 0, (kb.Flags & RI_KEY_E0) != 0};
}

}  // namespace

LRESULT onRawInput(HWND window, LPARAM input) {
    const std::optional<KeyReport> report = fetchKeyboardReport(reinterpret_cast<HRAWINPUT>(input));
    if (!report) return 0;
    if (isClickThroughModifier(report->vkey)) updateClickThrough(window);
    if (report->vkey == static_cast<int>(HOTKEY_KEY_K) && report->keyUp) app().hotKey.release();
    AppState& a = app();
    InputContext context{a.layout, a.settings, keyboardQuery(), soundPlayer()};
    const std::optional<Rect> area = onKeyReport(a.input, *report, currentTick(), context);
    if (area) invalidateArea(*area);
    return 0;
}
