// The floor that Tavrin's idle cost is measured against: an empty window of Tavrin's size
// whose only work is a 16 ms timer that does nothing, the cost every frame tick sets.
// bench/measure_e2e.py runs it under Wine beside the same target window as Tavrin.
#include <windows.h>

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinIdleReference";
constexpr wchar_t TITLE[] = L"Tavrin Idle Reference";
constexpr UINT_PTR TIMER_ID = 1;
constexpr UINT TIMER_PERIOD_MS = 16;
constexpr int WIDTH = 932;
constexpr int HEIGHT = 316;

LRESULT CALLBACK referenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, TIMER_ID, TIMER_PERIOD_MS, nullptr);
        return 0;
    case WM_TIMER:
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, TIMER_ID);
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = referenceProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = CLASS_NAME;
    RegisterClassExW(&wc);

    // Not activated, like Tavrin, so the typing target keeps the focus.
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, CLASS_NAME, TITLE,
                                WS_POPUP, 0, 0, WIDTH, HEIGHT, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
