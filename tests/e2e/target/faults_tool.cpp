// What the fault tests need from inside Wine: every running Tavrin asked to close at the
// same moment, and a settings file that another program holds open so that it can't be
// written.
//
// Usage: tavrin_faults_tool.exe close-all | hold PATH
//   close-all  posts WM_CLOSE to every Tavrin main window at once and prints closed=N;
//              exit code 2 when there is none.
//   hold       opens PATH for reading and lets others only read it, prints held=1 and then
//              waits until it is killed; exit code 2 when PATH can't be opened.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr wchar_t MAIN_CLASS[] = L"TavrinWndShiftAware";
constexpr int FAILED = 2;
constexpr int BAD_USAGE = 3;

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

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"close-all") == 0) return closeAll();
    if (argc == 3 && std::wcscmp(argv[1], L"hold") == 0) return hold(argv[2]);
    return BAD_USAGE;
}
