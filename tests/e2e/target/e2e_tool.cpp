// Looks at Tavrin's main window from inside Wine, where the X side cannot see: its Win32
// class, styles and layered attributes, and asks it to close the way Windows does.
//
// Usage: tavrin_e2e_tool.exe info | close | post MESSAGE WPARAM
//   info   prints key=value lines about the main window; exit code 2 when there is none.
//   close  posts WM_CLOSE to the main window; exit code 2 when there is none.
//   post   posts a message, as the system does when the session is locked or the machine
//          wakes (numbers in decimal or 0x hex).
//   lose-tray-icon    takes Tavrin's icon out of the notification area, as a crash of the
//                     shell does.
//   taskbar-created   tells every window that the taskbar is back, as a restarted shell does.
//   texts TITLE       prints the texts of the top-level window with this title and of each of
//                     its controls (a dialog, a message box); exit code 2 when there is none.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t MAIN_CLASS[] = L"TavrinWndShiftAware";
constexpr int NO_WINDOW = 2;
constexpr int BAD_USAGE = 3;

void printWide(const char* key, const wchar_t* text) {
    // UTF-8, so that the harness can decode any title.
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s=%s\n", key, utf8);
}

int printInfo(HWND hwnd) {
    wchar_t text[512] = {};
    GetClassNameW(hwnd, text, 512);
    printWide("class", text);
    // Reads the title without sending a message, which would wait on a window still being
    // created or a program that hangs.
    InternalGetWindowText(hwnd, text, 512);
    printWide("title", text);
    std::printf("style=0x%08lX\n", static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_STYLE)));
    std::printf("exstyle=0x%08lX\n", static_cast<unsigned long>(GetWindowLongW(hwnd, GWL_EXSTYLE)));
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    std::printf("rect=%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
    GetClientRect(hwnd, &rc);
    std::printf("client=%ld %ld\n", rc.right, rc.bottom);
    std::printf("visible=%d\n", IsWindowVisible(hwnd) ? 1 : 0);
    std::printf("foreground=%d\n", GetForegroundWindow() == hwnd ? 1 : 0);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags))
        std::printf("layered=0x%06lX %u 0x%lX\n", static_cast<unsigned long>(key), alpha,
                    static_cast<unsigned long>(flags));
    return 0;
}

std::string utf8Of(const wchar_t* text) {
    char utf8[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    return utf8;
}

// "child=ID|CLASS|TEXT", the text read without sending the window a message.
BOOL CALLBACK printChild(HWND child, LPARAM) {
    wchar_t windowClass[256] = {};
    wchar_t text[1024] = {};
    GetClassNameW(child, windowClass, 256);
    InternalGetWindowText(child, text, 1024);
    // One line each: a line end in the text is written as \n.
    std::wstring escaped;
    for (const wchar_t* c = text; *c; ++c)
        if (*c != L'\r') escaped += *c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, *c);
    std::printf("child=%d|%s|%s\n", GetDlgCtrlID(child), utf8Of(windowClass).c_str(), utf8Of(escaped.c_str()).c_str());
    return TRUE;
}

int printTexts(const wchar_t* title) {
    HWND hwnd = FindWindowW(nullptr, title);
    if (!hwnd) return NO_WINDOW;
    wchar_t text[1024] = {};
    InternalGetWindowText(hwnd, text, 1024);
    printWide("caption", text);
    EnumChildWindows(hwnd, printChild, 0);
    return 0;
}

}  // namespace

int postMessage(HWND hwnd, const wchar_t* message, const wchar_t* wParam) {
    const auto msg = static_cast<UINT>(std::wcstoul(message, nullptr, 0));
    const auto w = static_cast<WPARAM>(std::wcstoull(wParam, nullptr, 0));
    return PostMessageW(hwnd, msg, w, 0) ? 0 : 1;
}

int loseTrayIcon(HWND hwnd) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = hwnd;
    icon.uID = 1;
    return Shell_NotifyIconW(NIM_DELETE, &icon) ? 0 : 1;
}

int announceTaskbar() {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0) ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"taskbar-created") == 0) return announceTaskbar();
    if (argc == 3 && std::wcscmp(argv[1], L"texts") == 0) return printTexts(argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"post") == 0) {
        HWND hwnd = FindWindowW(MAIN_CLASS, nullptr);
        return hwnd ? postMessage(hwnd, argv[2], argv[3]) : NO_WINDOW;
    }
    if (argc != 2) return BAD_USAGE;
    HWND hwnd = FindWindowW(MAIN_CLASS, nullptr);
    if (!hwnd) {
        std::printf("found=0\n");
        return NO_WINDOW;
    }
    if (std::wcscmp(argv[1], L"info") == 0) return printInfo(hwnd);
    if (std::wcscmp(argv[1], L"close") == 0) return PostMessageW(hwnd, WM_CLOSE, 0, 0) ? 0 : 1;
    if (std::wcscmp(argv[1], L"lose-tray-icon") == 0) return loseTrayIcon(hwnd);
    return BAD_USAGE;
}
