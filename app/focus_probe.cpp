#include "app/focus_probe.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/accessibility_libraries.h"
#include "app/uia_client.h"

namespace {

// A program that takes longer than this to answer a message is asked again later.
constexpr UINT ANSWER_TIMEOUT_MS = 250;
// How far the focus is followed down from a window to the element that has it.
constexpr int MAX_FOCUS_STEPS = 8;

struct Worker {
    std::uint32_t id = 0;
    HWND reply = nullptr;
    std::mutex lock;
    std::condition_variable asked;
    std::optional<FocusQuestion> next;
    bool abandoned = false;
};

std::shared_ptr<Worker> liveWorker;  // the window thread's alone

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
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

// Active Accessibility: the element the event named, followed down to the one that has the
// focus (a window's root object is never a password field; the field inside it may be), and
// whether its state says "protected".
FocusAnswer askActiveAccessibility(const FocusQuestion& q, const AccessibilityLibraries& l) {
    IAccessible* element = nullptr;
    VARIANT child{};
    if (l.accessibleObjectFromEvent(q.window, static_cast<DWORD>(q.object), static_cast<DWORD>(q.child), &element,
                                    &child) != S_OK ||
        !element)
        return FocusAnswer::Unknown;
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

// One answer, never a loop: a program that does not answer in time, or refuses (a window of
// an administrator's program), gets "unknown", and the tracker asks again later.
FocusAnswer answerQuestion(const FocusQuestion& q, const AccessibilityLibraries* libraries,
                           AutomationQuestions* automation) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(q.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, ANSWER_TIMEOUT_MS, &result))
        return FocusAnswer::Unknown;
    // An edit control of a class of its own (a toolkit's wrapper) still tells its password character.
    DWORD_PTR passwordChar = 0;
    if (q.object == OBJID_CLIENT && q.child == CHILDID_SELF &&
        SendMessageTimeoutW(q.window, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS, &passwordChar) &&
        passwordChar != 0)
        return FocusAnswer::Password;
    if (!libraries) return FocusAnswer::Unknown;
    if (automation)
        if (const std::optional<FocusAnswer> answer = automation->focusedElementIn(processOf(q.window))) return *answer;
    return askActiveAccessibility(q, *libraries);
}

std::optional<FocusQuestion> nextQuestion(Worker& w) {
    std::unique_lock<std::mutex> hold(w.lock);
    w.asked.wait(hold, [&w] { return w.next.has_value() || w.abandoned; });
    std::optional<FocusQuestion> q = w.next;
    w.next.reset();
    return q;
}

void answerQuestions(const std::shared_ptr<Worker>& w) {
    const AccessibilityLibraries* libraries = accessibilityLibraries();
    const ComApartment apartment(libraries);
    std::optional<AutomationQuestions> automation;
    if (apartment.entered()) automation.emplace(*libraries);
    while (const std::optional<FocusQuestion> q = nextQuestion(*w)) {
        const FocusAnswer answer = answerQuestion(*q, apartment.entered() ? libraries : nullptr,
                                                  automation ? &*automation : nullptr);
        PostMessageW(w->reply, WM_FOCUS_VERDICT, q->serial, packFocusAnswer(answer, w->id));
    }
}

void abandon(const std::shared_ptr<Worker>& w) {
    if (!w) return;
    std::lock_guard<std::mutex> hold(w->lock);
    w->abandoned = true;
    w->next.reset();
    w->asked.notify_one();
}

}  // namespace

void askWhetherPassword(HWND reply, std::uint32_t worker, const FocusQuestion& question) {
    if (!liveWorker || liveWorker->id != worker) {
        abandon(liveWorker);
        auto fresh = std::make_shared<Worker>();
        fresh->id = worker;
        fresh->reply = reply;
        try {
            std::thread(answerQuestions, fresh).detach();
        } catch (const std::system_error&) {
            // No thread: no answer comes, and the focus stays private until the tracker gives up on it.
        }
        liveWorker = fresh;
    }
    std::lock_guard<std::mutex> hold(liveWorker->lock);
    liveWorker->next = question;
    liveWorker->asked.notify_one();
}

void stopAskingAboutFocus() {
    abandon(liveWorker);
    liveWorker.reset();
}
