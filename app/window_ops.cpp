#include "app/window_ops.h"

#include "app/app_state.h"
#include "app/services.h"
#include "app/settings_store.h"
#include "keyboard/arrangement_choice.h"
#include "render/frame.h"

namespace {

const KeyArrangement& chosenArrangement() { return arrangementFor(app().settings.layout, keyboardQuery()); }

}  // namespace

void applyZOrder() {
    HWND insertAfter = app().settings.topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(app().window, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void updateAppMetrics() {
    AppState& a = app();
    updateMetrics(a.metrics, pixelScale(a.settings.scale, a.dpi));
}

Size windowSizeAt(double pixelScale) { return windowSizeForScale(pixelScale, chosenArrangement()); }

void relayoutKeyboard() {
    AppState& a = app();
    a.arrangement = &chosenArrangement();
    a.arrangementChosenFor = keyboardQuery().layoutId();
    buildLayout(a.layout, a.metrics, a.metrics.pixelScale, *a.arrangement);
    // Everything is repainted: no key is drawn lit any more, and keys of another arrangement
    // are not drawn at all.
    a.input.keys.litShown.fill(false);
    RECT client{};
    GetClientRect(a.window, &client);
    prepareFrameBuffers(client.right - client.left, client.bottom - client.top);
    invalidateAll();
}

void applyScale() {
    AppState& a = app();
    updateAppMetrics();
    const Size size = windowSizeAt(a.metrics.pixelScale);
    RECT r{};
    GetWindowRect(a.window, &r);
    SetWindowPos(a.window, nullptr, r.left, r.top, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    relayoutKeyboard();
}

void changeScale(double scale) {
    app().settings.scale = scale;
    applyScale();
    saveAppSettings();
}

void changeScaleByGesture(double scale) {
    app().settings.scale = scale;
    applyScale();
    saveGestureChange();
}

void followKeyboardArrangement() {
    AppState& a = app();
    if (a.settings.layout != LAYOUT_FULL || keyboardQuery().layoutId() == a.arrangementChosenFor) return;
    a.arrangementChosenFor = keyboardQuery().layoutId();
    if (&chosenArrangement() != a.arrangement) applyScale();
}

void toggleVisible() {
    if (IsWindowVisible(app().window)) {
        ShowWindow(app().window, SW_HIDE);
        return;
    }
    ShowWindow(app().window, SW_SHOWNOACTIVATE);
    applyZOrder();
}

void invalidateAll() { InvalidateRect(app().window, nullptr, FALSE); }

void invalidateArea(const Rect& area) {
    const RECT r{area.left, area.top, area.right, area.bottom};
    InvalidateRect(app().window, &r, FALSE);
}
