#include "app/screen_dpi.h"

#include "app/app_state.h"
#include "app/click_through.h"
#include "app/window_ops.h"
#include "control/window_placement.h"
#include "keyboard/keyboard_layout.h"
#include "keyboard/layout_metrics.h"

namespace {

// Functions newer than the oldest Windows 10 are looked up, so that the program still starts
// where one is missing (and works there as the system allows).
template <typename Function>
Function user32Function(const char* name) {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using SetProcessDpiAwarenessContextFunction = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Refused because the awareness is set already (by the manifest): nothing more to ask.
bool setOrAlreadySet(SetProcessDpiAwarenessContextFunction set, DPI_AWARENESS_CONTEXT context) {
    return set(context) || GetLastError() == ERROR_ACCESS_DENIED;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : BASE_DPI;
}

}  // namespace

// Per monitor, second version (Windows 10 1703): the system also scales the menu, the dialogs
// and the message box for each monitor. Wine 8 refuses it with ERROR_INVALID_PARAMETER and
// is per monitor from the start; the first version (Windows 10 1607) is next; system-wide
// awareness is the last resort, drawn for the primary screen's DPI everywhere.
void becomePerMonitorDpiAware() {
    if (const auto set = user32Function<SetProcessDpiAwarenessContextFunction>("SetProcessDpiAwarenessContext")) {
        if (setOrAlreadySet(set, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
        if (setOrAlreadySet(set, DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE)) return;
    }
    SetProcessDPIAware();
}

// An unaware process's window answers 96, and the system stretches it: drawn at 96 it stays
// right whatever awareness the process got.
int dpiOf(HWND window) {
    if (const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow"); window && forWindow)
        if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
    return screenDpi();
}

LRESULT onDpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    AppState& a = app();
    a.dpi = LOWORD(wParam);
    updateAppMetrics();
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    const Size size = windowSizeAt(a.metrics.pixelScale);
    const Rect place = suggested ? placeForDpiChange({suggested->left, suggested->top, suggested->right, suggested->bottom}, size)
                                 : Rect{0, 0, size.width, size.height};
    SetWindowPos(window, nullptr, place.left, place.top, size.width, size.height, SWP_NOZORDER | SWP_NOACTIVATE);
    relayoutKeyboard();
    // A move drag goes on from where the window now is, under the pointer.
    if (a.drag.moving) {
        a.drag.windowAtPress = {place.left, place.top};
        a.drag.moveCursorAtPress = cursorOnScreen();
    }
    return 0;
}

LRESULT onGetDpiScaledSize(HWND, WPARAM wParam, LPARAM lParam) {
    auto* size = reinterpret_cast<SIZE*>(lParam);
    if (!size) return FALSE;
    // A popup window without a frame: its window is its client area.
    const Size wanted = windowSizeAt(pixelScale(app().settings.scale, static_cast<int>(LOWORD(wParam))));
    size->cx = wanted.width;
    size->cy = wanted.height;
    return TRUE;
}
