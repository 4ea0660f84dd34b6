// The window procedure only dispatches: one handler per message.
#include "app/window_proc.h"

#include "app/app_state.h"
#include "app/focus_automation.h"
#include "app/focus_probe.h"
#include "app/focus_watch.h"
#include "app/foreground_watch.h"
#include "app/handlers.h"
#include "app/screen_dpi.h"
#include "app/tray_icon.h"

namespace {

// Each timer has a handler of its own; the frame tick takes every other id, and ignores it.
LRESULT onTimerMessage(HWND window, WPARAM timerId) {
    switch (timerId) {
    case FOCUS_TIMER: return onFocusTimer(window);
    case SAVE_TIMER: return onSaveTimer(window);
    case TOPMOST_AGAIN_TIMER: return onTopmostAgain(window);
    default: return onTimer(window, timerId);
    }
}

}  // namespace

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreatedMessage() && message != 0) return onTaskbarCreated(window);
    switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_DESTROY: return onDestroy(window);
    case WM_QUERYENDSESSION: return onQueryEndSession(window);
    case WM_ENDSESSION: return onEndSession(window, wParam);
    case WM_SIZE: return onSize(window);
    case WM_DPICHANGED: return onDpiChanged(window, wParam, lParam);
    case WM_GETDPISCALEDSIZE: return onGetDpiScaledSize(window, wParam, lParam);
    case WM_SHOWWINDOW: return onShowWindow(window, wParam);
    case WM_ERASEBKGND: return 1;  // every frame covers the whole client area
    // Wine's default answer activates a clicked window whatever its WS_EX_NOACTIVATE, and the
    // activated window is then remapped as a managed X window, which ends the grip drag's pointer
    // grab and moves the X focus away from the application being typed into.
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETCURSOR: return onSetCursor(window, message, wParam, lParam);
    case WM_NCHITTEST: return onHitTest(window);
    case WM_TIMER: return onTimerMessage(window, wParam);
    case WM_MOUSEMOVE: return onMouseMove(window, message, wParam, lParam);
    case WM_LBUTTONDOWN: return onLeftButtonDown(window, message, wParam, lParam);
    case WM_LBUTTONUP: return onLeftButtonUp(window, message, wParam, lParam);
    case WM_MOUSEWHEEL: return onMouseWheel(window, wParam);
    case WM_CAPTURECHANGED: return onCaptureChanged(window);
    case WM_PAINT: return onPaint(window);
    case WM_INPUT: return onRawInput(window, lParam);
    case WM_WTSSESSION_CHANGE: return onSessionChange(window, wParam);
    case WM_POWERBROADCAST: return onPowerBroadcast(window, wParam);
    case WM_FOCUS_VERDICT: return onFocusVerdict(window, wParam, lParam);
    case WM_AUTOMATION_FOCUS: return onAutomationFocus(window, wParam, lParam);
    case WM_COMMAND: return onCommand(window, wParam);
    case WM_HOTKEY: return onHotKey(window, wParam);
    case WM_TRAYICON: return onTrayIcon(window, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}
