// The application that end-to-end tests type into: one window of a known colour with an
// edit control. Tavrin never takes the focus, so its keyboard must light up while another
// Wine window has it; Wine only receives X key events on its own windows.
//
// Usage: tavrin_e2e_target.exe [left top width height [fields | topmost]]
// The window is painted in BACKGROUND so that whatever shows through Tavrin's transparent
// pixels is known; the edit control sits in the lower right corner. Every left click the
// window itself receives is appended to target-clicks.txt in the current folder as a line
// "x y" in screen coordinates, so a test can tell which clicks passed through Tavrin.
// With "fields", one-line fields stand left of the edit control: a standard password field
// (ES_PASSWORD) with a context menu announced as Windows announces menus, above it a password
// field of a class of its own built on the edit control, as toolkits make them, and above
// that two plain fields drawn by the program itself, between which Tab moves the focus.
// With "announce" instead, the window announces a focus of its own every 100 ms and never
// takes the focus (focus_fields.cpp). With "topmost", the window is topmost, as full-screen
// games and video players often make themselves.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

#include "focus_fields.h"

namespace {

constexpr wchar_t CLASS_NAME[] = L"TavrinE2ETarget";
constexpr wchar_t TITLE[] = L"Tavrin E2E Target";
constexpr COLORREF BACKGROUND = RGB(0, 128, 128);
constexpr int EDIT_ID = 100;
constexpr int EDIT_WIDTH = 400;
constexpr int EDIT_HEIGHT = 200;

HWND editControl = nullptr;
HWND passwordField = nullptr;
HWND secretBox = nullptr;
constexpr int FIELD_WIDTH = 300;
constexpr int FIELD_HEIGHT = 30;
constexpr wchar_t SECRET_BOX_CLASS[] = L"TavrinE2ESecretBox";
WNDPROC editProc = nullptr;

LRESULT CALLBACK secretBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(editProc, hwnd, msg, wParam, lParam);
}

// A class of its own on top of the edit control: nothing in its name says "edit".
void registerSecretBox(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExW(nullptr, L"EDIT", &wc);
    editProc = wc.lpfnWndProc;
    wc.lpfnWndProc = secretBoxProc;
    wc.hInstance = instance;
    wc.lpszClassName = SECRET_BOX_CLASS;
    RegisterClassExW(&wc);
}

HWND createField(HWND parent, const wchar_t* className, int id, HINSTANCE instance) {
    return CreateWindowExW(WS_EX_CLIENTEDGE, className, L"", WS_CHILD | WS_VISIBLE | ES_PASSWORD | ES_AUTOHSCROLL, 0, 0,
                           FIELD_WIDTH, FIELD_HEIGHT, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           instance, nullptr);
}

void recordClick(HWND hwnd, LPARAM lParam) {
    POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(hwnd, &p);
    if (FILE* f = _wfopen(L"target-clicks.txt", L"a")) {
        std::fprintf(f, "%ld %ld\n", p.x, p.y);
        std::fclose(f);
    }
}

void placeEdit(HWND hwnd) {
    RECT rc{};
    GetClientRect(hwnd, &rc);
    MoveWindow(editControl, rc.right - EDIT_WIDTH - 10, rc.bottom - EDIT_HEIGHT - 10, EDIT_WIDTH,
               EDIT_HEIGHT, TRUE);
    const int fieldLeft = rc.right - EDIT_WIDTH - FIELD_WIDTH - 30;
    if (passwordField)
        MoveWindow(passwordField, fieldLeft, rc.bottom - FIELD_HEIGHT - 10, FIELD_WIDTH, FIELD_HEIGHT, TRUE);
    if (secretBox)
        MoveWindow(secretBox, fieldLeft, rc.bottom - 2 * FIELD_HEIGHT - 30, FIELD_WIDTH, FIELD_HEIGHT, TRUE);
    placePlainBoxes(fieldLeft, rc.bottom - 2 * FIELD_HEIGHT - 50, FIELD_WIDTH, FIELD_HEIGHT, 20);
}

LRESULT CALLBACK targetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        editControl = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                                      EDIT_WIDTH, EDIT_HEIGHT, hwnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(EDIT_ID)),
                                      reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance, nullptr);
        if (reinterpret_cast<LPCREATESTRUCTW>(lParam)->lpCreateParams) {
            HINSTANCE instance = reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance;
            passwordField = createField(hwnd, L"EDIT", EDIT_ID + 1, instance);
            secretBox = createField(hwnd, SECRET_BOX_CLASS, EDIT_ID + 2, instance);
            giveContextMenu(passwordField);
            createPlainBoxes(hwnd, instance);
        }
        return 0;
    case WM_SIZE:
        placeEdit(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        recordClick(hwnd, lParam);
        return 0;
    case WM_ENTERIDLE:
        if (onMenuIdle(wParam, lParam)) return 0;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SETFOCUS:
        // Whoever focuses the window means the edit control.
        SetFocus(editControl);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

struct Placement {
    int left = 0;
    int top = 0;
    int width = 1280;
    int height = 1024;
    bool fields = false;
    bool topmost = false;
    bool announce = false;
};

Placement placementFrom(int argc, wchar_t** argv) {
    Placement p;
    if (argc == 5 || argc == 6) {
        p.left = _wtoi(argv[1]);
        p.top = _wtoi(argv[2]);
        p.width = _wtoi(argv[3]);
        p.height = _wtoi(argv[4]);
        p.fields = argc == 6 && std::wcscmp(argv[5], L"fields") == 0;
        p.topmost = argc == 6 && std::wcscmp(argv[5], L"topmost") == 0;
        p.announce = argc == 6 && std::wcscmp(argv[5], L"announce") == 0;
    }
    return p;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = targetProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = CreateSolidBrush(BACKGROUND);
    wc.lpszClassName = CLASS_NAME;
    RegisterClassExW(&wc);

    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const Placement p = placementFrom(argc, argv);
    LocalFree(argv);
    if (p.announce) return runFocusAnnouncer(instance, p.left, p.top, p.width, p.height);
    if (p.fields) {
        registerSecretBox(instance);
        registerPlainBox(instance);
    }

    // A popup has no frame, so its client area is exactly the rectangle asked for.
    HWND hwnd = CreateWindowExW(WS_EX_APPWINDOW | (p.topmost ? WS_EX_TOPMOST : 0), CLASS_NAME, TITLE, WS_POPUP | WS_VISIBLE, p.left,
                                p.top, p.width, p.height, nullptr, nullptr, instance,
                                p.fields ? reinterpret_cast<void*>(1) : nullptr);
    if (!hwnd) return 1;
    SetFocus(editControl);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
