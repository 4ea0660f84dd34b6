// Entry point: settings, window class, the layered tool window, the message loop.
#include <windows.h>

#include <vector>

#include "app/app_state.h"
#include "app/resource_ids.h"
#include "app/screen_dpi.h"
#include "app/settings_store.h"
#include "app/tray_icon.h"
#include "app/window_ops.h"
#include "app/window_proc.h"
#include "control/window_placement.h"

namespace {

void registerWindowClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = 0;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = WINDOW_CLASS_NAME;
    wc.hIconSm = loadAppIconOfSmallIconSize(instance);
    RegisterClassExW(&wc);
}

BOOL CALLBACK addScreen(HMONITOR, HDC, LPRECT area, LPARAM screens) {
    reinterpret_cast<std::vector<Rect>*>(screens)->push_back({area->left, area->top, area->right, area->bottom});
    return TRUE;
}

std::vector<Rect> screenRects() {
    std::vector<Rect> screens;
    EnumDisplayMonitors(nullptr, nullptr, addScreen, reinterpret_cast<LPARAM>(&screens));
    return screens;
}

// Sized for the primary screen's DPI; once the window knows the DPI of its own screen,
// start-up gives it the size for that.
HWND createMainWindow(HINSTANCE instance) {
    const Size size = windowSizeAt(app().metrics.pixelScale);
    // A missing position is the platform's default, which puts a popup window at (0, 0).
    const WindowPosition position = openingPosition(savedWindowPosition(), size, screenRects());
    return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_NOACTIVATE, WINDOW_CLASS_NAME,
                           WINDOW_TITLE, WS_POPUP, position.left, position.top, size.width, size.height, nullptr,
                           nullptr, instance, nullptr);
}

int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    becomePerMonitorDpiAware();
    AppState& a = app();
    a.instance = instance;
    loadAppSettings();
    a.dpi = dpiOf(nullptr);
    updateAppMetrics();
    registerWindowClass(instance);
    a.window = createMainWindow(instance);
    if (!a.window) return 0;
    applyScale();  // the size for the DPI of the window's own screen, and the relayout
    applyLayeredAttributes(a.window);
    applyZOrder();
    ShowWindow(a.window, SW_SHOWNOACTIVATE);
    return runMessageLoop();
}
