// The floors that Tavrin's own costs are measured against, as windows of Tavrin's size that
// do the least its design allows (bench/measure_e2e.py runs them under Wine):
//   tavrin_reference_window.exe           an empty window whose only work is a 16 ms timer
//                                         that does nothing: the floor the frame tick sets
//                                         for an idle Tavrin;
//   tavrin_reference_window.exe repaint   a colour-keyed layered window with a keyboard-like
//                                         picture that repaints one key's area on every tick
//                                         by copying a prepared buffer, composing nothing:
//                                         the floor a lit key sets while typing.
// With "right" the window stands at the right edge of the screen.
#include <windows.h>

#include <cwchar>

#include "bench_window_win32.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinReferenceWindow";
constexpr wchar_t IDLE_TITLE[] = L"Tavrin Idle Reference";
constexpr wchar_t REPAINT_TITLE[] = L"Tavrin Repaint Reference";
constexpr UINT_PTR TIMER_ID = 1;
constexpr UINT TIMER_PERIOD_MS = 16;
constexpr int WIDTH = 932;
constexpr int HEIGHT = 316;
constexpr COLORREF COLOR_KEY = RGB(255, 0, 255);
constexpr COLORREF KEY_FILL = RGB(230, 230, 230);
constexpr COLORREF LIT_FILL = RGB(60, 160, 255);
// The A key of Tavrin's layout at scale 1.0, grown by its 9-pixel invalidation margin.
constexpr RECT KEY_AREA{53, 125, 119, 191};

bool repaintEveryTick = false;
HDC pictureDc = nullptr;
HBITMAP picture = nullptr;
bool lit = false;

void fill(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

// Magenta with rows of light rounded keys, so the window's colour-key shape is as intricate
// as Tavrin's.
void preparePicture(HDC reference) {
    pictureDc = CreateCompatibleDC(reference);
    picture = CreateCompatibleBitmap(reference, WIDTH, HEIGHT);
    SelectObject(pictureDc, picture);
    fill(pictureDc, RECT{0, 0, WIDTH, HEIGHT}, COLOR_KEY);
    HBRUSH brush = CreateSolidBrush(KEY_FILL);
    HGDIOBJ previous = SelectObject(pictureDc, brush);
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 11; ++column)
            RoundRect(pictureDc, 14 + column * 56 + row * 24, 14 + row * 60, 62 + column * 56 + row * 24, 62 + row * 60,
                      10, 10);
    RoundRect(pictureDc, 110, 254, 494, 302, 10, 10);
    SelectObject(pictureDc, previous);
    DeleteObject(brush);
}

void onPaint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!pictureDc) preparePicture(dc);
    if (repaintEveryTick) {
        lit = !lit;
        fill(pictureDc, RECT{62, 134, 110, 182}, lit ? LIT_FILL : KEY_FILL);
    }
    BitBlt(dc, 0, 0, WIDTH, HEIGHT, pictureDc, 0, 0, SRCCOPY);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK referenceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        SetTimer(hwnd, TIMER_ID, TIMER_PERIOD_MS, nullptr);
        return 0;
    case WM_TIMER:
        if (repaintEveryTick) InvalidateRect(hwnd, &KEY_AREA, FALSE);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        onPaint(hwnd);
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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    repaintEveryTick = std::wcsstr(commandLine, L"repaint") != nullptr;

    bench::registerWindowClass(instance, referenceProc, CLASS_NAME);

    // Not activated, like Tavrin, so the typing target keeps the focus.
    const DWORD layered = repaintEveryTick ? WS_EX_LAYERED : 0;
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | layered, CLASS_NAME,
                                repaintEveryTick ? REPAINT_TITLE : IDLE_TITLE, WS_POPUP,
                                bench::leftEdge(commandLine, WIDTH), 0,
                                WIDTH, HEIGHT, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) return 1;
    if (repaintEveryTick) SetLayeredWindowAttributes(hwnd, COLOR_KEY, 204, LWA_COLORKEY | LWA_ALPHA);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);

    return bench::runMessageLoop();
}
