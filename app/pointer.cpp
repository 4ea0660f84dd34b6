// Hit testing, the cursor over the grip, the window drag and the scale gestures.
#include "app/app_state.h"
#include "app/click_through.h"
#include "app/handlers.h"
#include "app/settings_store.h"
#include "app/window_ops.h"
#include "control/hit_test.h"
#include "control/scale_rules.h"
#include "render/resize_grip.h"

namespace {

void startScaleDrag(HWND window) {
    DragState& drag = app().drag;
    SetCapture(window);
    drag.scaleCursorAtPress = cursorOnScreen();
    drag.scaleAtPress = app().settings.scale;
    drag.scaling = true;
}

void startMoveDrag(HWND window) {
    DragState& drag = app().drag;
    SetCapture(window);
    drag.moving = true;
    drag.moveCursorAtPress = cursorOnScreen();
    RECT r{};
    GetWindowRect(window, &r);
    drag.windowAtPress = {r.left, r.top};
}

void scaleDragStep() {
    const DragState& drag = app().drag;
    const POINT p = cursorOnScreen();
    const double s = dragScale(drag.scaleAtPress, p.x - drag.scaleCursorAtPress.x, p.y - drag.scaleCursorAtPress.y,
                               currentModifiers(), app().dpi);
    if (isScaleChange(app().settings.scale, s)) changeScaleByGesture(s);
}

void moveDragStep(HWND window) {
    const DragState& drag = app().drag;
    const POINT p = cursorOnScreen();
    const int left = p.x - drag.moveCursorAtPress.x + drag.windowAtPress.x;
    const int top = p.y - drag.moveCursorAtPress.y + drag.windowAtPress.y;
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Saved from where the window is then: crossing onto a screen of another DPI moves it once more.
    saveGestureChange();
}

}  // namespace

LRESULT onHitTest(HWND window) {
    switch (hitZone(cursorInGrip(window), app().settings.clickthru, currentModifiers())) {
    case HitZone::Grip: return HTCLIENT;
    case HitZone::Transparent: return HTTRANSPARENT;
    case HitZone::Move: return HTCLIENT;  // the program's own move drag, from the press on
    }
    return HTCLIENT;
}

LRESULT onSetCursor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(lParam) == HTCLIENT && cursorInGrip(window)) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZENWSE));
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT onLeftButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (cursorInGrip(window)) {
        startScaleDrag(window);
        return 0;
    }
    if (hitZone(false, app().settings.clickthru, currentModifiers()) == HitZone::Transparent)
        return DefWindowProcW(window, message, wParam, lParam);
    startMoveDrag(window);
    return 0;
}

LRESULT onMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const DragState& drag = app().drag;
    if (drag.scaling) {
        scaleDragStep();
        return 0;
    }
    if (drag.moving) {
        moveDragStep(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT onLeftButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DragState& drag = app().drag;
    if (!drag.scaling && !drag.moving) return DefWindowProcW(window, message, wParam, lParam);
    if (drag.scaling)
        drag.scaling = false;
    else
        drag.moving = false;
    ReleaseCapture();
    updateClickThrough(window);
    finishGestureSave();
    return 0;
}

// Alt+Tab, Ctrl+Alt+Del or another window taking the mouse ends a drag: without the capture
// the release never comes, and merely hovering over the grip later would go on rescaling.
LRESULT onCaptureChanged(HWND window) {
    DragState& drag = app().drag;
    drag.scaling = false;
    drag.moving = false;
    updateClickThrough(window);
    finishGestureSave();
    return 0;
}

LRESULT onMouseWheel(HWND, WPARAM wParam) {
    const int delta = static_cast<short>(HIWORD(wParam));
    const std::optional<double> s = wheelScale(app().settings.scale, delta, currentModifiers());
    if (s && isScaleChange(app().settings.scale, *s)) changeScaleByGesture(*s);
    return 0;
}
