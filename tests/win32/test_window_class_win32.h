#pragma once
// Window classes of the Win32 test program itself, for the windows its tests make and ask about.
#include <windows.h>

// Registers `name` with `proc`, taking the rest from `base` (another class's, to make a
// control of another name, as toolkits do); a class registered already stays as it is.
inline void registerTestWindowClass(const wchar_t* name, WNDPROC proc = DefWindowProcW, WNDCLASSEXW base = {}) {
    base.cbSize = sizeof base;
    base.lpfnWndProc = proc;
    base.hInstance = GetModuleHandleW(nullptr);
    base.lpszClassName = name;
    RegisterClassExW(&base);
}
