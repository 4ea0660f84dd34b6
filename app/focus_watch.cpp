#include "app/focus_watch.h"

#include "app/app_state.h"
#include "app/focus_probe.h"
#include "app/frame_timer.h"
#include "app/services.h"
#include "input/focus_privacy.h"

namespace {

constexpr int CLASS_NAME_CHARS = 256;

HWINEVENTHOOK focusHook = nullptr;
HWINEVENTHOOK foregroundHook = nullptr;
unsigned focusSerial = 0;

// Read without sending the window a message: the class and the style.
FocusFacts factsOf(HWND focus) {
    wchar_t name[CLASS_NAME_CHARS] = {};
    FocusFacts facts;
    if (RealGetWindowClassW(focus, name, CLASS_NAME_CHARS) > 0) facts.editControl = isEditClassName(name);
    facts.passwordStyle = (GetWindowLongW(focus, GWL_STYLE) & ES_PASSWORD) != 0;
    return facts;
}

void judgeFocus(HWND focus, LONG object, LONG child) {
    ++focusSerial;
    AppState& a = app();
    if (!focus) {
        leavePrivateInput(a.input, keyboardQuery());
        return;
    }
    // An element inside a window (a field of a web page) shows nothing of itself in its
    // window's class and style.
    const bool wholeWindow = object == OBJID_CLIENT && child == CHILDID_SELF;
    const FocusVerdict verdict = wholeWindow ? judgeFocus(factsOf(focus)) : FocusVerdict::AskAccessibility;
    if (verdict == FocusVerdict::NotPassword) {
        leavePrivateInput(a.input, keyboardQuery());
        return;
    }
    // A field still being asked about is private until the answer comes: the first keys
    // typed into a password field must not show either.
    enterPrivateInput(a.input, keyboardQuery());
    if (verdict == FocusVerdict::AskAccessibility) askWhetherPassword(a.window, focus, object, child, focusSerial);
}

HWND focusOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (window && GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return window;
}

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (event == EVENT_OBJECT_FOCUS)
        judgeFocus(window, object, child);
    else if (event == EVENT_SYSTEM_FOREGROUND)
        judgeFocus(focusOfThreadOf(window), OBJID_CLIENT, CHILDID_SELF);
    wakeFrameTick();  // entering or leaving a password field may change what is shown
}

}  // namespace

// Out of context: the events come to this thread as messages, and nothing is loaded into
// other programs. This program's own windows (its menu, its dialogs) are left out.
void watchKeyboardFocus(HWND) {
    constexpr DWORD FLAGS = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    focusHook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onWinEvent, 0, 0, FLAGS);
    foregroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, onWinEvent, 0, 0, FLAGS);
    judgeFocus(focusOfThreadOf(GetForegroundWindow()), OBJID_CLIENT, CHILDID_SELF);
}

void stopWatchingKeyboardFocus() {
    if (focusHook) UnhookWinEvent(focusHook);
    if (foregroundHook) UnhookWinEvent(foregroundHook);
    focusHook = foregroundHook = nullptr;
}

LRESULT onFocusVerdict(HWND, WPARAM serial, LPARAM isPassword) {
    if (serial != focusSerial) return 0;  // about a focus that has moved on since
    if (!isPassword) leavePrivateInput(app().input, keyboardQuery());
    wakeFrameTick();
    return 0;
}
