#include "focus_fields.h"

#include <string>

namespace {

constexpr wchar_t PLAIN_BOX_CLASS[] = L"TavrinE2EPlainBox";
constexpr wchar_t ANNOUNCER_CLASS[] = L"TavrinE2EAnnouncer";
constexpr wchar_t ANNOUNCER_TITLE[] = L"Tavrin E2E Announcer";
constexpr UINT_PTR ANNOUNCE_TIMER = 1;
constexpr UINT ANNOUNCE_PERIOD_MS = 100;

HWND plainBoxes[PLAIN_BOXES] = {};
std::wstring plainText[PLAIN_BOXES];
WNDPROC passwordEditProc = nullptr;
HWND menuOwner = nullptr;
HWND shownMenu = nullptr;  // the menu window while the password field's menu is open

int boxIndex(HWND box) {
    for (int i = 0; i < PLAIN_BOXES; ++i)
        if (plainBoxes[i] == box) return i;
    return 0;
}

void paintPlainBox(HWND box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT r;
    GetClientRect(box, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (GetFocus() == box) FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    const std::wstring& text = plainText[boxIndex(box)];
    TextOutW(dc, 4, 4, text.c_str(), static_cast<int>(text.size()));
    EndPaint(box, &ps);
}

// A field drawn by its program alone: it takes the focus when clicked, types what it is
// given, and hands the focus on with Tab (back with Shift+Tab).
LRESULT CALLBACK plainBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        SetFocus(box);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(box, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            const int step = (GetKeyState(VK_SHIFT) & 0x8000) ? PLAIN_BOXES - 1 : 1;
            SetFocus(plainBoxes[(boxIndex(box) + step) % PLAIN_BOXES]);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam >= L' ') {
            plainText[boxIndex(box)] += static_cast<wchar_t>(wParam);
            InvalidateRect(box, nullptr, TRUE);
        }
        return 0;
    case WM_PAINT:
        paintPlainBox(box);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(box, msg, wParam, lParam);
}

// Windows announces a context menu as a menu that opens, its first item focused, and a menu
// that closes; the focus goes back to the field without an announcement of its own.
void showContextMenu(LPARAM at) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Paste");
    AppendMenuW(menu, MF_STRING, 2, L"Select All");
    POINT p{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    if (at == -1) GetCursorPos(&p);
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, menuOwner, nullptr);
    if (shownMenu) NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, shownMenu, OBJID_CLIENT, CHILDID_SELF);
    shownMenu = nullptr;
    DestroyMenu(menu);
}

LRESULT CALLBACK passwordFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CONTEXTMENU) {
        showContextMenu(lParam);
        return 0;
    }
    return CallWindowProcW(passwordEditProc, field, msg, wParam, lParam);
}

LRESULT CALLBACK announcerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    static HWND fields[2] = {};
    static int next = 0;
    switch (msg) {
    case WM_CREATE:
        for (int i = 0; i < 2; ++i)
            fields[i] = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10 + 40 * i, 200, 30,
                                        window, nullptr, reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance, nullptr);
        SetTimer(window, ANNOUNCE_TIMER, ANNOUNCE_PERIOD_MS, nullptr);
        return 0;
    case WM_TIMER:
        // A focus of its own, in a window nobody types into.
        NotifyWinEvent(EVENT_OBJECT_FOCUS, fields[next], OBJID_CLIENT, CHILDID_SELF);
        next = 1 - next;
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

}  // namespace

void registerPlainBox(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = plainBoxProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32513));
    wc.lpszClassName = PLAIN_BOX_CLASS;
    RegisterClassExW(&wc);
}

void createPlainBoxes(HWND parent, HINSTANCE instance) {
    for (HWND& box : plainBoxes)
        box = CreateWindowExW(0, PLAIN_BOX_CLASS, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, parent, nullptr,
                              instance, nullptr);
}

void placePlainBoxes(int left, int bottom, int width, int height, int gap) {
    for (int i = 0; i < PLAIN_BOXES; ++i) {
        const int top = bottom - height - (PLAIN_BOXES - 1 - i) * (height + gap);
        if (plainBoxes[i]) MoveWindow(plainBoxes[i], left, top, width, height, TRUE);
    }
}

void giveContextMenu(HWND passwordField) {
    menuOwner = GetParent(passwordField);
    passwordEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(passwordField, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(passwordFieldProc)));
}

bool onMenuIdle(WPARAM kind, LPARAM menuWindow) {
    if (kind != MSGF_MENU || shownMenu || !menuWindow) return false;
    shownMenu = reinterpret_cast<HWND>(menuWindow);
    NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, shownMenu, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, shownMenu, OBJID_CLIENT, 1);
    return true;
}

int runFocusAnnouncer(HINSTANCE instance, int left, int top, int width, int height) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = announcerProc;
    wc.hInstance = instance;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = ANNOUNCER_CLASS;
    RegisterClassExW(&wc);
    if (!CreateWindowExW(WS_EX_NOACTIVATE, ANNOUNCER_CLASS, ANNOUNCER_TITLE, WS_POPUP | WS_VISIBLE, left, top, width,
                         height, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return static_cast<int>(msg.wParam);
}
