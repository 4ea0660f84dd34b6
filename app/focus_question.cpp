#include "app/focus_question.h"

#include <optional>

#include "app/accessibility_libraries.h"
#include "app/uia_client.h"

namespace {

// A program that takes longer than this to answer a message is asked again later.
constexpr UINT ANSWER_TIMEOUT_MS = 250;
// How far the focus is followed down from a window to the element that has it.
constexpr int MAX_FOCUS_STEPS = 8;

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// Active Accessibility: the element the event named, judged by focusedElementProtection.
FocusAnswer askActiveAccessibility(const FocusQuestion& q, const AccessibilityLibraries& l) {
    IAccessible* element = nullptr;
    VARIANT child{};
    if (l.accessibleObjectFromEvent(q.window, static_cast<DWORD>(q.object), static_cast<DWORD>(q.child), &element,
                                    &child) != S_OK ||
        !element)
        return FocusAnswer::Unknown;
    return focusedElementProtection(element, child, l);
}

}  // namespace

FocusAnswer focusedElementProtection(IAccessible* element, VARIANT child, const AccessibilityLibraries& l) {
    for (int step = 0; step < MAX_FOCUS_STEPS && child.vt == VT_I4 && child.lVal == CHILDID_SELF; ++step) {
        VARIANT focus{};
        if (FAILED(element->get_accFocus(&focus))) break;
        if (focus.vt == VT_I4 && focus.lVal != CHILDID_SELF) {
            child = focus;
        } else if (focus.vt == VT_DISPATCH && focus.pdispVal) {
            IAccessible* inner = nullptr;
            const HRESULT found = focus.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&inner));
            l.variantClear(&focus);
            if (FAILED(found) || !inner) break;
            element->Release();
            element = inner;
        } else {
            l.variantClear(&focus);
            break;
        }
    }
    VARIANT state{};
    FocusAnswer answer = FocusAnswer::Unknown;
    if (SUCCEEDED(element->get_accState(child, &state)) && state.vt == VT_I4)
        answer = (state.lVal & STATE_SYSTEM_PROTECTED) != 0 ? FocusAnswer::Password : FocusAnswer::NotPassword;
    l.variantClear(&state);
    l.variantClear(&child);
    element->Release();
    return answer;
}

// UI Automation's focused element, its IsPassword and its program read in one call. Where the
// client is missing (Wine 8), or the focused element belongs to another program than the
// window asked about, it tells nothing.
class AutomationQuestions {
public:
    explicit AutomationQuestions(const AccessibilityLibraries& l) : libraries_(l) {
        if (!automationClientRegistered()) return;
        void* created = nullptr;
        if (FAILED(l.coCreateInstance(uia::CLSID_CUIAutomation, nullptr, CLSCTX_INPROC_SERVER, uia::IID_IUIAutomation,
                                      &created)))
            return;
        automation_ = static_cast<uia::IUIAutomation*>(created);
        if (FAILED(automation_->CreateCacheRequest(&cache_)) || FAILED(cache_->AddProperty(uia::IsPasswordPropertyId)) ||
            FAILED(cache_->AddProperty(uia::ProcessIdPropertyId))) {
            release();
        }
    }
    ~AutomationQuestions() { release(); }
    AutomationQuestions(const AutomationQuestions&) = delete;
    AutomationQuestions& operator=(const AutomationQuestions&) = delete;

    std::optional<FocusAnswer> focusedElementIn(DWORD process) {
        if (!automation_) return std::nullopt;
        uia::IUIAutomationElement* element = nullptr;
        if (FAILED(automation_->GetFocusedElementBuildCache(cache_, &element)) || !element) return std::nullopt;
        VARIANT owner{};
        VARIANT password{};
        std::optional<FocusAnswer> answer;
        if (SUCCEEDED(element->GetCachedPropertyValue(uia::ProcessIdPropertyId, &owner)) && owner.vt == VT_I4 &&
            static_cast<DWORD>(owner.lVal) == process &&
            SUCCEEDED(element->GetCachedPropertyValue(uia::IsPasswordPropertyId, &password)) && password.vt == VT_BOOL)
            answer = password.boolVal != VARIANT_FALSE ? FocusAnswer::Password : FocusAnswer::NotPassword;
        libraries_.variantClear(&owner);
        libraries_.variantClear(&password);
        element->Release();
        return answer;
    }

private:
    void release() {
        if (cache_) cache_->Release();
        if (automation_) automation_->Release();
        cache_ = nullptr;
        automation_ = nullptr;
    }

    const AccessibilityLibraries& libraries_;
    uia::IUIAutomation* automation_ = nullptr;
    uia::IUIAutomationCacheRequest* cache_ = nullptr;
};

FocusQuestions::FocusQuestions() {
    if (const AccessibilityLibraries* libraries = accessibilityLibraries())
        automation_ = std::make_unique<AutomationQuestions>(*libraries);
}

FocusQuestions::~FocusQuestions() = default;

FocusAnswer FocusQuestions::answer(const FocusQuestion& q) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(q.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, ANSWER_TIMEOUT_MS, &result))
        return FocusAnswer::Unknown;
    // An edit control of a class of its own (a toolkit's wrapper) still tells its password character.
    DWORD_PTR passwordChar = 0;
    if (q.object == OBJID_CLIENT && q.child == CHILDID_SELF &&
        SendMessageTimeoutW(q.window, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS, &passwordChar) &&
        passwordChar != 0)
        return FocusAnswer::Password;
    const AccessibilityLibraries* libraries = accessibilityLibraries();
    if (!libraries) return FocusAnswer::Unknown;
    if (automation_)
        if (const std::optional<FocusAnswer> answer = automation_->focusedElementIn(processOf(q.window))) return *answer;
    return askActiveAccessibility(q, *libraries);
}

