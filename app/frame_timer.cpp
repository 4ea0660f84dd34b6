// The 16 ms frame tick and the window's size changes: both only invalidate areas.
#include "app/frame_timer.h"

#include "app/app_state.h"
#include "app/click_through.h"
#include "app/handlers.h"
#include "app/services.h"
#include "app/window_ops.h"
#include "input/frame_tick.h"
#include "render/speed_panel.h"

namespace {

UINT tickPeriod = 0;  // of the running timer; 0 when none runs

void setTickPeriod(HWND window, UINT period) {
    if (period == tickPeriod) return;
    if (SetTimer(window, FRAME_TIMER, period, nullptr)) tickPeriod = period;
}

Rect clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void invalidateTickAreas(HWND window, const FrameTickEffects& effects) {
    const AppState& a = app();
    if (effects.invalidateSpeedPanel)
        invalidateArea(speedPanelReach(speedPanelRect(clientRect(window), a.metrics, a.metrics.pixelScale), a.metrics));
    if (effects.invalidateAll) invalidateAll();
    for (const Rect& area : effects.keyAreas) invalidateArea(area);
}

}  // namespace

void startFrameTick(HWND window) { setTickPeriod(window, FRAME_PERIOD_MS); }

void stopFrameTick(HWND window) {
    KillTimer(window, FRAME_TIMER);
    tickPeriod = 0;
}

void wakeFrameTick() {
    if (tickPeriod != 0) setTickPeriod(app().window, FRAME_PERIOD_MS);
}

LRESULT onShowWindow(HWND, WPARAM shown) {
    if (shown) invalidateAll();
    wakeFrameTick();
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
    followKeyboardArrangement();
    // A hidden window shows nothing to keep up to date; it is repainted whole when shown.
    const bool shown = IsWindowVisible(window) != FALSE;
    if (shown) invalidateTickAreas(window, effects);
    if (now / 1000 != lastSecond) recheckHeldPointer(window);
    // The key-up of the hot key's K may have gone where no report of it came.
    if (a.hotKey.awaitsRelease(now) && !(GetAsyncKeyState(HOTKEY_KEY_K) & 0x8000)) a.hotKey.release();
    lastSecond = now / 1000;
    const Tick rest = a.hotKey.fired ? 0 : frameTickRest(a.input, now, shown);
    setTickPeriod(window, rest ? static_cast<UINT>(rest) : FRAME_PERIOD_MS);
    return 0;
}

LRESULT onSize(HWND) {
    relayoutKeyboard();
    return 0;
}
