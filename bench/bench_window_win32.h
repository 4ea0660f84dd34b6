#pragma once
// What the benchmarks' own windows share: their class, their place and their message loop.
#include <windows.h>

#include <cwchar>

namespace bench {

inline void registerWindowClass(HINSTANCE instance, WNDPROC proc, PCWSTR name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

// With "right" on the command line a window stands at the right edge of the screen, so that
// it can be measured side by side with Tavrin at the left, in the same moments.
inline int leftEdge(PCWSTR commandLine, int width) {
    return std::wcsstr(commandLine, L"right") ? GetSystemMetrics(SM_CXSCREEN) - width : 0;
}

inline int runMessageLoop() {
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace bench
