#include "app/focus_probe.h"

#include <oleacc.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

constexpr UINT ANSWER_TIMEOUT_MS = 250;

struct Question {
    HWND reply = nullptr;
    HWND window = nullptr;
    LONG object = 0;
    LONG child = 0;
    unsigned serial = 0;
};

struct Asker {
    std::mutex lock;
    std::condition_variable asked;
    Question next;
    bool pending = false;
    bool started = false;
};

Asker& asker() {
    static Asker* instance = new Asker;  // never destroyed: its thread may outlive main
    return *instance;
}

bool superseded(unsigned serial) {
    std::lock_guard<std::mutex> hold(asker().lock);
    return asker().pending && asker().next.serial != serial;
}

// Accessibility, loaded the first time it is needed: most runs never leave standard edit
// controls, and the libraries cost megabytes of resident memory.
struct Accessibility {
    using FromEvent = HRESULT(WINAPI*)(HWND, DWORD, DWORD, IAccessible**, VARIANT*);
    using ClearVariant = HRESULT(WINAPI*)(VARIANTARG*);
    FromEvent fromEvent = nullptr;
    ClearVariant clearVariant = nullptr;

    bool load() {
        if (fromEvent) return true;
        HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
        HMODULE ole32 = LoadLibraryW(L"ole32.dll");
        HMODULE oleaut32 = LoadLibraryW(L"oleaut32.dll");
        if (!oleacc || !ole32 || !oleaut32) return false;
        using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
        const auto initialize =
            reinterpret_cast<Initialize>(reinterpret_cast<void*>(GetProcAddress(ole32, "CoInitializeEx")));
        clearVariant = reinterpret_cast<ClearVariant>(reinterpret_cast<void*>(GetProcAddress(oleaut32, "VariantClear")));
        if (!initialize || !clearVariant || FAILED(initialize(nullptr, COINIT_MULTITHREADED))) return false;
        fromEvent = reinterpret_cast<FromEvent>(reinterpret_cast<void*>(GetProcAddress(oleacc, "AccessibleObjectFromEvent")));
        return fromEvent != nullptr;
    }

    bool isProtected(const Question& q) {
        if (!load()) return false;
        IAccessible* element = nullptr;
        VARIANT child{};
        if (fromEvent(q.window, static_cast<DWORD>(q.object), static_cast<DWORD>(q.child), &element, &child) != S_OK ||
            !element)
            return false;
        VARIANT state{};
        const bool isProtected = SUCCEEDED(element->get_accState(child, &state)) && state.vt == VT_I4 &&
                                 (state.lVal & STATE_SYSTEM_PROTECTED) != 0;
        clearVariant(&state);
        clearVariant(&child);
        element->Release();
        return isProtected;
    }
};

// Waits until the window's program answers messages again, or is given up as hung (no
// answer for the system's five seconds); false when hung or when a newer focus came.
bool waitUntilResponsive(const Question& q) {
    for (;;) {
        if (superseded(q.serial)) return false;
        DWORD_PTR result = 0;
        if (SendMessageTimeoutW(q.window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, ANSWER_TIMEOUT_MS, &result))
            return true;
        if (!IsWindow(q.window) || IsHungAppWindow(q.window)) return false;
    }
}

// An edit control of its own class (a superclass, a toolkit's wrapper) still tells its
// password character; anything else is asked through accessibility.
bool isPasswordField(const Question& q, Accessibility& accessibility) {
    if (!waitUntilResponsive(q)) return false;
    DWORD_PTR passwordChar = 0;
    if (q.object == OBJID_CLIENT && q.child == CHILDID_SELF &&
        SendMessageTimeoutW(q.window, EM_GETPASSWORDCHAR, 0, 0, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS, &passwordChar) &&
        passwordChar != 0)
        return true;
    return accessibility.isProtected(q);
}

void answerQuestions() {
    Accessibility accessibility;
    for (;;) {
        Question q;
        {
            std::unique_lock<std::mutex> hold(asker().lock);
            asker().asked.wait(hold, [] { return asker().pending; });
            q = asker().next;
        }
        const bool password = isPasswordField(q, accessibility);
        {
            std::lock_guard<std::mutex> hold(asker().lock);
            if (asker().next.serial == q.serial) asker().pending = false;
        }
        PostMessageW(q.reply, WM_FOCUS_VERDICT, q.serial, password ? 1 : 0);
    }
}

}  // namespace

void askWhetherPassword(HWND reply, HWND window, LONG object, LONG child, unsigned serial) {
    Asker& a = asker();
    std::lock_guard<std::mutex> hold(a.lock);
    a.next = {reply, window, object, child, serial};
    a.pending = true;
    if (!a.started) {
        try {
            std::thread(answerQuestions).detach();
            a.started = true;
        } catch (const std::system_error&) {
            // No thread: no answer will come, and the focus stays private until it moves on.
        }
    }
    a.asked.notify_one();
}
