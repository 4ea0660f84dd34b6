#include "app/window_ops.h"

#include "app/app_state.h"
#include "app/settings_store.h"
#include "render/frame.h"

void applyZOrder() {
    HWND insertAfter = app().settings.topmost ? HWND_TOPMOST : HWND_NOTOPMOST;
    SetWindowPos(app().window, insertAfter, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void updateAppMetrics() {
    AppState& a = app();
    updateMetrics(a.metrics, pixelScale(a.settings.scale, a.dpi));
}

void relayoutKeyboard() {
    AppState& a = app();
    buildLayout(a.layout, a.metrics, a.metrics.pixelScale);
    RECT client{};
    GetClientRect(a.window, &client);
    prepareFrameBuffers(client.right - client.left, client.bottom - client.top);
    invalidateAll();
}

void applyScale() {
    AppState& a = app();
    updateAppMetrics();
    const Size size = windowSizeForScale(a.metrics.pixelScale);
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
