#include "app/focus_automation.h"

#include <atomic>
#include <thread>

#include "app/accessibility_libraries.h"
#include "app/uia_client.h"

namespace {

std::atomic<HWND> listener{nullptr};
HANDLE stopEvent = nullptr;

// Reads what came cached with the event and posts it; nothing here calls another program.
// UI Automation calls it on threads of its own, in the multithreaded apartment.
class FocusHandler final : public uia::IUIAutomationFocusChangedEventHandler {
public:
    explicit FocusHandler(const AccessibilityLibraries& l) : libraries_(l) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, uia::IID_IUIAutomationFocusChangedEventHandler)) {
            *object = static_cast<uia::IUIAutomationFocusChangedEventHandler*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives as long as the program: counting references would only guard a delete never made.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE HandleFocusChangedEvent(uia::IUIAutomationElement* sender) override {
        const HWND reply = listener.load();
        if (!sender || !reply) return S_OK;
        VARIANT process{};
        VARIANT window{};
        VARIANT password{};
        if (SUCCEEDED(sender->GetCachedPropertyValue(uia::ProcessIdPropertyId, &process)) && process.vt == VT_I4) {
            const bool hasWindow = SUCCEEDED(sender->GetCachedPropertyValue(uia::NativeWindowHandlePropertyId, &window)) &&
                                   window.vt == VT_I4;
            const bool known = SUCCEEDED(sender->GetCachedPropertyValue(uia::IsPasswordPropertyId, &password)) &&
                               password.vt == VT_BOOL;
            PostMessageW(reply, WM_AUTOMATION_FOCUS, static_cast<WPARAM>(static_cast<DWORD>(process.lVal)),
                         packAutomationWindow(hasWindow ? static_cast<std::uint32_t>(window.lVal) : 0u, known,
                                              known && password.boolVal != VARIANT_FALSE));
        }
        libraries_.variantClear(&process);
        libraries_.variantClear(&window);
        libraries_.variantClear(&password);
        return S_OK;
    }

private:
    const AccessibilityLibraries& libraries_;
};

// Registers the handler and keeps the apartment until asked to stop.
void listen(HANDLE stop) {
    const AccessibilityLibraries* libraries = accessibilityLibraries();
    const ComApartment apartment(libraries);
    if (!apartment.entered()) return;
    void* created = nullptr;
    if (FAILED(libraries->coCreateInstance(uia::CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER,
                                           uia::IID_IUIAutomation, &created)))
        return;  // REGDB_E_CLASSNOTREG where the client is missing: the window system's focus events remain
    auto* automation = static_cast<uia::IUIAutomation*>(created);
    uia::IUIAutomationCacheRequest* cache = nullptr;
    static FocusHandler* handler = new FocusHandler(*libraries);  // never deleted: events may still be under way
    if (SUCCEEDED(automation->CreateCacheRequest(&cache)) && SUCCEEDED(cache->AddProperty(uia::IsPasswordPropertyId)) &&
        SUCCEEDED(cache->AddProperty(uia::ProcessIdPropertyId)) &&
        SUCCEEDED(cache->AddProperty(uia::NativeWindowHandlePropertyId)) &&
        SUCCEEDED(automation->AddFocusChangedEventHandler(cache, handler))) {
        WaitForSingleObject(stop, INFINITE);
        automation->RemoveAllEventHandlers();
    }
    if (cache) cache->Release();
    automation->Release();
}

}  // namespace

void watchAutomationFocus(HWND reply) {
    if (!automationClientRegistered()) return;
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!stopEvent) return;
    listener.store(reply);
    try {
        std::thread(listen, stopEvent).detach();
    } catch (const std::system_error&) {
        // Without it the window system's focus events and Active Accessibility still judge.
    }
}

void stopWatchingAutomationFocus() {
    listener.store(nullptr);
    if (stopEvent) SetEvent(stopEvent);
}
