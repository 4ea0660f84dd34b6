#include "app/accessibility_libraries.h"

#include <mutex>

#include "app/uia_client.h"

namespace {

template <typename Function>
bool bind(Function& function, HMODULE library, const char* name) {
    if (library) function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

bool load(AccessibilityLibraries& l) {
    HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    return bind(l.coInitializeEx, ole32, "CoInitializeEx") && bind(l.coUninitialize, ole32, "CoUninitialize") &&
           bind(l.coCreateInstance, ole32, "CoCreateInstance") && bind(l.variantClear, oleaut32, "VariantClear") &&
           bind(l.accessibleObjectFromEvent, oleacc, "AccessibleObjectFromEvent");
}

}  // namespace

const AccessibilityLibraries* accessibilityLibraries() {
    static AccessibilityLibraries libraries;
    static bool loaded = false;
    static std::once_flag once;
    std::call_once(once, [] { loaded = load(libraries); });
    return loaded ? &libraries : nullptr;
}

bool automationClientRegistered() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, uia::CUIAutomationServerKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

ComApartment::ComApartment(const AccessibilityLibraries* libraries) : libraries_(libraries) {
    entered_ = libraries_ && SUCCEEDED(libraries_->coInitializeEx(nullptr, COINIT_MULTITHREADED));
}

ComApartment::~ComApartment() {
    if (entered_) libraries_->coUninitialize();
}
