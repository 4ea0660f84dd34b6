// What the fault tests need from inside Wine: every running Tavrin asked to close at the
// same moment, a settings file that another program holds open so that it can't be
// written, and a Tavrin kept busy saving its settings and muting and restoring the sounds.
//
// Usage: tavrin_faults_tool.exe close-all | hold PATH | agitate SECONDS | command ID
//   close-all  posts WM_CLOSE to every Tavrin main window at once and prints closed=N;
//              exit code 2 when there is none.
//   hold       opens PATH for reading and lets others only read it, prints held=1 and then
//              waits until it is killed; exit code 2 when PATH can't be opened.
//   agitate    for SECONDS, sends whichever Tavrin runs a stream of commands, each answered
//              before the next: the key shadow toggled and a wheel notch up or down over the
//              window (each a save), and every fourth time muting toggled (a mute or a
//              restore, then a save). Prints sent=N at the end.
//   command    posts the menu command ID to the Tavrin main window, as choosing it does;
//              exit code 2 when there is none.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

constexpr wchar_t MAIN_CLASS[] = L"TavrinWndShiftAware";
constexpr int FAILED = 2;
constexpr int BAD_USAGE = 3;
constexpr WPARAM IDM_SHADOW = 40050;
constexpr WPARAM IDM_AUTOMUTE = 40065;
constexpr short WHEEL_NOTCH = 120;
constexpr UINT ANSWER_TIMEOUT_MS = 2000;

BOOL CALLBACK closeIfTavrin(HWND hwnd, LPARAM closed) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    if (std::wcscmp(name, MAIN_CLASS) == 0 && PostMessageW(hwnd, WM_CLOSE, 0, 0)) ++*reinterpret_cast<int*>(closed);
    return TRUE;
}

int closeAll() {
    int closed = 0;
    EnumWindows(closeIfTavrin, reinterpret_cast<LPARAM>(&closed));
    std::printf("closed=%d\n", closed);
    return closed > 0 ? 0 : FAILED;
}

// Windows refuses every open for writing while this handle denies write sharing, whoever
// asks, which a read-only attribute does not do for root under Wine.
int hold(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FAILED;
    std::printf("held=1\n");
    std::fflush(stdout);
    Sleep(INFINITE);
    CloseHandle(file);
    return 0;
}

// The n-th message of the stream: two saves for every mute or restore, and as many notches
// up as down, so that the scale stays near where it started.
void sendNext(HWND tavrin, unsigned n) {
    UINT message = WM_COMMAND;
    WPARAM wParam = IDM_SHADOW;
    if (n % 4 == 3) {
        wParam = IDM_AUTOMUTE;
    } else if (n % 4 == 1) {
        message = WM_MOUSEWHEEL;
        const short delta = (n / 4) % 2 ? WHEEL_NOTCH : static_cast<short>(-WHEEL_NOTCH);
        wParam = MAKEWPARAM(0, static_cast<WORD>(delta));
    }
    SendMessageTimeoutW(tavrin, message, wParam, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS, nullptr);
}

int agitate(const wchar_t* seconds) {
    const ULONGLONG end = GetTickCount64() + 1000ull * std::wcstoul(seconds, nullptr, 10);
    unsigned sent = 0;
    while (GetTickCount64() < end) {
        HWND tavrin = FindWindowW(MAIN_CLASS, nullptr);
        if (tavrin)
            sendNext(tavrin, sent++);
        else
            Sleep(2);
    }
    std::printf("sent=%u\n", sent);
    return 0;
}

int postCommand(const wchar_t* id) {
    HWND tavrin = FindWindowW(MAIN_CLASS, nullptr);
    if (!tavrin || !PostMessageW(tavrin, WM_COMMAND, std::wcstoul(id, nullptr, 10), 0)) return FAILED;
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"close-all") == 0) return closeAll();
    if (argc == 3 && std::wcscmp(argv[1], L"hold") == 0) return hold(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"agitate") == 0) return agitate(argv[2]);
    if (argc == 3 && std::wcscmp(argv[1], L"command") == 0) return postCommand(argv[2]);
    return BAD_USAGE;
}
