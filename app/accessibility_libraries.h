#pragma once
// The COM and accessibility libraries, loaded the first time a worker needs them and never
// unloaded: most runs never leave standard edit controls, and the libraries cost megabytes
// of resident memory. Only the focus workers call these, never the window thread.
#include <windows.h>
#include <oleacc.h>

struct AccessibilityLibraries {
    HRESULT(WINAPI* coInitializeEx)(LPVOID, DWORD) = nullptr;
    void(WINAPI* coUninitialize)() = nullptr;
    HRESULT(WINAPI* coCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
    HRESULT(WINAPI* variantClear)(VARIANTARG*) = nullptr;
    HRESULT(WINAPI* accessibleObjectFromEvent)(HWND, DWORD, DWORD, IAccessible**, VARIANT*) = nullptr;
};

// The libraries' functions, or null when any could not be loaded.
const AccessibilityLibraries* accessibilityLibraries();

// Whether UI Automation's client is registered with COM. Wine 8 has none (creating it fails
// with REGDB_E_CLASSNOTREG); asked first, so that a system without it never loads COM for it.
bool automationClientRegistered();

// COM for the calling thread, in the multithreaded apartment, for as long as it lives.
class ComApartment {
public:
    explicit ComApartment(const AccessibilityLibraries* libraries);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool entered() const { return entered_; }

private:
    const AccessibilityLibraries* libraries_;
    bool entered_ = false;
};
