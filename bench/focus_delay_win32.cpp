// Hears what Tavrin hears of a focus change, the same way: raw keyboard and mouse reports of
// a window that never has the focus, and the out-of-context focus events of every other
// program, each stamped when this thread takes it from its queue. bench/measure_focus_delay.py
// turns the log into the time from a Tab, an Enter or a button press to the focus event that
// follows it.
//
// Usage: tavrin_focus_delay.exe LOG   (runs until its window is closed or the process killed;
// one line per report, flushed at once: "<ms> key <vk>", "<ms> button", "<ms> focus <class>")
#include <windows.h>

#include <cstdio>

namespace {

FILE* out = nullptr;
LARGE_INTEGER frequency{};

double nowMs() {
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void CALLBACK onFocus(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    wchar_t name[64] = L"?";
    if (window) GetClassNameW(window, name, 64);
    std::fprintf(out, "%.3f focus %ls\n", nowMs(), name);
    std::fflush(out);
}

LRESULT CALLBACK listenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INPUT) return DefWindowProcW(window, message, wParam, lParam);
    RAWINPUT raw{};
    UINT size = sizeof raw;
    if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) ==
        static_cast<UINT>(-1))
        return 0;
    const double at = nowMs();
    if (raw.header.dwType == RIM_TYPEKEYBOARD && !(raw.data.keyboard.Flags & RI_KEY_BREAK))
        std::fprintf(out, "%.3f key %u\n", at, raw.data.keyboard.VKey);
    else if (raw.header.dwType == RIM_TYPEMOUSE && (raw.data.mouse.usButtonFlags & RI_MOUSE_LEFT_BUTTON_DOWN))
        std::fprintf(out, "%.3f button\n", at);
    std::fflush(out);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2 || !(out = _wfopen(argv[1], L"w"))) return 2;
    QueryPerformanceFrequency(&frequency);
    WNDCLASSW wc{};
    wc.lpfnWndProc = listenerProc;
    wc.lpszClassName = L"TavrinFocusDelay";
    RegisterClassW(&wc);
    HWND listener = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    RAWINPUTDEVICE devices[2]{};
    devices[0] = {0x01, 0x06, RIDEV_INPUTSINK, listener};
    devices[1] = {0x01, 0x02, RIDEV_INPUTSINK, listener};
    if (!RegisterRawInputDevices(devices, 2, sizeof devices[0])) return 1;
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onFocus, 0, 0,
                    WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    std::fprintf(out, "%.3f ready\n", nowMs());
    std::fflush(out);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
