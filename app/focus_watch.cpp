#include "app/focus_watch.h"

#include "app/app_state.h"
#include "app/focus_automation.h"
#include "app/focus_probe.h"
#include "app/foreground_watch.h"
#include "app/frame_timer.h"
#include "app/services.h"
#include "input/focus_privacy.h"

namespace {

constexpr int CLASS_NAME_CHARS = 256;

HWINEVENTHOOK focusHook = nullptr;
HWINEVENTHOOK systemHook = nullptr;  // foreground and menus
FocusQuestion latestQuestion;        // about the latest focus that needed one
Tick timerDue = 0;                   // of FOCUS_TIMER; 0 while it is not set

// Read without sending the window a message: the class and the style.
FocusFacts factsOf(HWND focus) {
    wchar_t name[CLASS_NAME_CHARS] = {};
    FocusFacts facts;
    if (RealGetWindowClassW(focus, name, CLASS_NAME_CHARS) > 0) facts.editControl = isEditClassName(name);
    facts.passwordStyle = (GetWindowLongW(focus, GWL_STYLE) & ES_PASSWORD) != 0;
    return facts;
}

std::uint32_t processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

HWND focusWindowOf(std::uint32_t thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return thread != 0 && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

ForegroundInput foregroundInput() {
    ForegroundInput input;
    const HWND foreground = GetForegroundWindow();
    if (!foreground) return input;
    DWORD process = 0;
    input.thread = GetWindowThreadProcessId(foreground, &process);
    input.process = process;
    const HWND focus = focusWindowOf(input.thread);
    input.focusProcess = focus ? processOf(focus) : input.process;
    return input;
}

// An event names its window, or none; the window may be gone by the time the event is heard
// (a menu that closed), and then the thread that announced it stands for it.
FocusOrigin originOf(HWND window, DWORD eventThread) {
    DWORD process = 0;
    const DWORD thread = window ? GetWindowThreadProcessId(window, &process) : 0;
    if (thread == 0) return {eventThread, 0, false};
    const HWND foreground = GetForegroundWindow();
    return {thread, process, foreground && (window == foreground || IsChild(foreground, window))};
}

void setFocusTimer(HWND window, Tick now) {
    const Tick due = nextFocusWake(app().input.focus, now);
    app().input.focus.wakeChanged = false;
    if (due == timerDue) return;
    timerDue = due;
    if (due == 0)
        KillTimer(window, FOCUS_TIMER);
    else
        SetTimer(window, FOCUS_TIMER, static_cast<UINT>(due - now), nullptr);
}

// After every event: the key state follows the tracker, the timer its next deadline, and
// the screen what changed.
void afterFocusEvent(const FocusRequest& request, Tick now) {
    AppState& a = app();
    if (request.serial != 0 && request.serial == latestQuestion.serial)
        askWhetherPassword(a.window, request.worker, latestQuestion);
    InputContext context{a.layout, a.settings, keyboardQuery(), soundPlayer()};
    settlePrivacy(a.input, now, context);
    setFocusTimer(a.window, now);
    wakeFrameTick();
}

// An element inside a window (a field of a web page) shows nothing of itself in its window's
// class and style: it is asked about.
void judgeFocus(HWND focus, LONG object, LONG child, const FocusOrigin& origin, Tick now) {
    const bool wholeWindow = object == OBJID_CLIENT && child == CHILDID_SELF;
    const FocusVerdict verdict = wholeWindow ? judgeFocus(factsOf(focus)) : FocusVerdict::AskAccessibility;
    const FocusRequest request = onFocusMoved(app().input.focus, origin, verdict, foregroundInput(), now);
    if (request.serial != 0) latestQuestion = {request.serial, focus, object, child};
    afterFocusEvent(request, now);
}

// The focus of the foreground window's thread, as it is now.
void judgeForegroundFocus(Tick now) {
    const ForegroundInput foreground = foregroundInput();
    const HWND focus = focusWindowOf(foreground.thread);
    const HWND window = focus ? focus : GetForegroundWindow();
    judgeFocus(window, OBJID_CLIENT, CHILDID_SELF, {foreground.thread, foreground.process, true}, now);
}

void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD eventThread, DWORD) {
    FocusTracker& tracker = app().input.focus;
    const Tick now = currentTick();
    // The z-order and the labels' layout follow the foreground, which a focus may bring along.
    if (event == EVENT_OBJECT_FOCUS || event == EVENT_SYSTEM_FOREGROUND) noteForegroundEvent();
    switch (event) {
    case EVENT_OBJECT_FOCUS:
        // Announced without a window: the announcing thread's focus window is asked about.
        if (!window) {
            judgeFocus(focusWindowOf(eventThread), OBJID_CLIENT, CHILDID_SELF, originOf(nullptr, eventThread), now);
            return;
        }
        judgeFocus(window, object, child, originOf(window, eventThread), now);
        return;
    case EVENT_SYSTEM_FOREGROUND:
        onForegroundChanged(tracker);
        judgeForegroundFocus(now);
        return;
    case EVENT_SYSTEM_MENUSTART:
    case EVENT_SYSTEM_MENUPOPUPSTART:
        onMenuOpened(tracker, originOf(window, eventThread), foregroundInput());
        afterFocusEvent({}, now);
        return;
    case EVENT_SYSTEM_MENUEND:
    case EVENT_SYSTEM_MENUPOPUPEND:
        if (onMenuClosed(tracker, originOf(window, eventThread), foregroundInput()))
            judgeForegroundFocus(now);
        else
            afterFocusEvent({}, now);
        return;
    default:
        return;
    }
}

}  // namespace

// Out of context: the events come to this thread as messages, and nothing is loaded into
// other programs. This program's own windows (its menu, its dialogs) are left out.
void watchKeyboardFocus(HWND window) {
    constexpr DWORD FLAGS = WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS;
    focusHook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, onWinEvent, 0, 0, FLAGS);
    systemHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_MENUPOPUPEND, nullptr, onWinEvent, 0, 0, FLAGS);
    watchAutomationFocus(window);
    judgeForegroundFocus(currentTick());
}

void stopWatchingKeyboardFocus() {
    if (focusHook) UnhookWinEvent(focusHook);
    if (systemHook) UnhookWinEvent(systemHook);
    focusHook = systemHook = nullptr;
    stopWatchingAutomationFocus();
    stopAskingAboutFocus();
}

LRESULT onFocusVerdict(HWND, WPARAM serial, LPARAM packedAnswer) {
    const Tick now = currentTick();
    const FocusRequest request = onFocusAnswer(app().input.focus, focusWorkerOf(packedAnswer),
                                               static_cast<std::uint32_t>(serial), focusAnswerOf(packedAnswer), now);
    afterFocusEvent(request, now);
    return 0;
}

LRESULT onAutomationFocus(HWND, WPARAM process, LPARAM packed) {
    const AutomationFocus focus = automationFocusOf(process, packed);
    const FocusVerdict verdict = !focus.passwordKnown ? FocusVerdict::AskAccessibility
                                 : focus.password      ? FocusVerdict::Password
                                                       : FocusVerdict::NotPassword;
    HWND window = focus.window && IsWindow(focus.window) ? focus.window : nullptr;
    FocusOrigin origin = originOf(window, 0);
    if (origin.thread == 0) origin = {0, focus.process, false};
    // Asked about, an element without a window of its own is looked for in the foreground's focus.
    if (!window) window = focusWindowOf(foregroundInput().thread);
    const Tick now = currentTick();
    const FocusRequest request = onFocusMoved(app().input.focus, origin, verdict, foregroundInput(), now);
    if (request.serial != 0) latestQuestion = {request.serial, window, OBJID_CLIENT, CHILDID_SELF};
    afterFocusEvent(request, now);
    return 0;
}

LRESULT onFocusTimer(HWND window) {
    KillTimer(window, FOCUS_TIMER);
    timerDue = 0;
    const Tick now = currentTick();
    afterFocusEvent(onTimePassed(app().input.focus, now), now);
    return 0;
}

void noteButtonDown() {
    noteButtonPressed(app().input.focus, currentTick());
    rescheduleFocusTimer();
}

void rescheduleFocusTimer() {
    if (app().input.focus.wakeChanged) setFocusTimer(app().window, currentTick());
}
