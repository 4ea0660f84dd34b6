// The 16 ms frame tick and the window's size changes: both only invalidate areas.
#include "app/app_state.h"
#include "app/click_through.h"
#include "app/handlers.h"
#include "app/services.h"
#include "app/window_ops.h"
#include "input/frame_tick.h"
#include "render/speed_panel.h"

namespace {

Rect clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void invalidateTickAreas(HWND window, const FrameTickEffects& effects) {
    const AppState& a = app();
    if (effects.invalidateSpeedPanel)
        invalidateArea(speedPanelReach(speedPanelRect(clientRect(window), a.metrics, a.settings.scale), a.metrics));
    if (effects.invalidateAll) invalidateAll();
    for (const Rect& area : effects.keyAreas) invalidateArea(area);
}

}  // namespace

LRESULT onShowWindow(HWND, WPARAM shown) {
    if (shown) invalidateAll();
    return 0;
}

LRESULT onTimer(HWND window, WPARAM timerId) {
    if (timerId != FRAME_TIMER) return 0;
    AppState& a = app();
    static FrameTickEffects effects;  // reused so the tick allocates nothing
    static Tick lastSecond = 0;
    const Tick now = currentTick();
    FrameTickContext context{a.layout, keyboardQuery(), physicalKeyState()};
    onFrameTick(a.input, context, now, effects);
    // A hidden window shows nothing to keep up to date; it is repainted whole when shown.
    if (IsWindowVisible(window)) invalidateTickAreas(window, effects);
    if (now / 1000 != lastSecond) recheckHeldPointer(window);
    // The key-up of the hot key's K may have gone where no report of it came.
    if (a.hotKey.awaitsRelease(now) && !(GetAsyncKeyState(HOTKEY_KEY_K) & 0x8000)) a.hotKey.release();
    lastSecond = now / 1000;
    return 0;
}

LRESULT onSize(HWND) {
    relayoutKeyboard();
    return 0;
}
