#pragma once
// A desktop of a few programs announcing focus changes, for the focus tracker: the
// foreground program being typed into, a program in the background, and a web view of a
// third program inside the foreground window.
#include "input/focus_tracker.h"

struct FakeFocusSource {
    static constexpr std::uint32_t FOREGROUND_THREAD = 100;
    static constexpr std::uint32_t FOREGROUND_PROCESS = 10;
    static constexpr std::uint32_t BACKGROUND_THREAD = 200;
    static constexpr std::uint32_t BACKGROUND_PROCESS = 20;
    static constexpr std::uint32_t WEB_VIEW_THREAD = 300;
    static constexpr std::uint32_t WEB_VIEW_PROCESS = 30;

    FocusTracker& tracker;
    Tick& now;
    ForegroundInput foreground{FOREGROUND_THREAD, FOREGROUND_PROCESS, FOREGROUND_PROCESS};

    static FocusOrigin inForeground() { return {FOREGROUND_THREAD, FOREGROUND_PROCESS, false}; }
    static FocusOrigin inBackground() { return {BACKGROUND_THREAD, BACKGROUND_PROCESS, false}; }
    static FocusOrigin inWebView() { return {WEB_VIEW_THREAD, WEB_VIEW_PROCESS, true}; }
    // An element announced by UI Automation, which names no window for it.
    static FocusOrigin elementOf(std::uint32_t process) { return {0, process, false}; }

    FocusRequest focus(FocusVerdict verdict, FocusOrigin origin = inForeground()) {
        return onFocusMoved(tracker, origin, verdict, foreground, now);
    }
    FocusRequest passwordField() { return focus(FocusVerdict::Password); }
    FocusRequest plainField() { return focus(FocusVerdict::NotPassword); }
    FocusRequest fieldToAsk(FocusOrigin origin = inForeground()) { return focus(FocusVerdict::AskAccessibility, origin); }
    // The foreground's focus judged again when its last menu closes; true when it was.
    bool menuClosed(FocusVerdict focusNow, FocusOrigin origin = inForeground()) {
        if (!onMenuClosed(tracker, origin, foreground)) return false;
        focus(focusNow);
        return true;
    }
    FocusRequest answer(const FocusRequest& asked, FocusAnswer answer) {
        return onFocusAnswer(tracker, asked.worker, asked.serial, answer, now);
    }
    PrivacyMode mode() const { return privacyMode(tracker, now); }
};
