#include "input/focus_tracker.h"

#include <algorithm>

namespace {

// The keys after which a program commonly moves its focus.
constexpr int VK_TAB_KEY = 0x09;
constexpr int VK_RETURN_KEY = 0x0D;

// Posts the question about the latest focus to the live worker.
FocusRequest ask(FocusTracker& tracker, Tick now) {
    QuestionDesk& desk = tracker.desk;
    if (desk.busyWith == 0) {
        desk.busyWith = tracker.serial;
        desk.busySince = now;
    } else {
        desk.waiting = tracker.serial;
    }
    return {tracker.serial, desk.worker};
}

// The live worker finished `serial` and goes on with the question waiting for it, if any.
void noteAnswered(QuestionDesk& desk, std::uint32_t worker, std::uint32_t serial, Tick now) {
    if (worker != desk.worker) {
        // A worker given up on has returned at last; it ends after this answer.
        if (desk.stuckWorkers > 0) --desk.stuckWorkers;
        return;
    }
    if (serial != desk.busyWith) return;
    desk.busyWith = desk.waiting;
    desk.busySince = now;
    desk.waiting = 0;
}

void scheduleRetry(FocusTracker& tracker, Tick now) {
    const int doublings = std::min(tracker.failedAttempts, 8);
    const Tick delay = std::min(RETRY_FIRST_MS << doublings, RETRY_LONGEST_MS);
    ++tracker.failedAttempts;
    tracker.retryAt = now + delay;
}

// The live worker has been answering one question too long: it is left to finish on its
// own, and a fresh worker takes over. The question it was stuck on is not asked again while
// it is out: the program it waits on would hold the fresh worker too. Its answer still
// counts when it comes.
FocusRequest replaceStuckWorker(FocusTracker& tracker, Tick now) {
    QuestionDesk& desk = tracker.desk;
    if (desk.busyWith == 0 || now - desk.busySince < QUESTION_STUCK_MS) return {};
    if (desk.stuckWorkers >= MAX_STUCK_WORKERS) return {};
    ++desk.stuckWorkers;
    ++desk.worker;
    desk.busyWith = 0;
    // The question waiting behind it went with it.
    const bool latestWaiting = desk.waiting == tracker.serial && tracker.judgement == FocusJudgement::Pending;
    desk.waiting = 0;
    return latestWaiting ? ask(tracker, now) : FocusRequest{};
}

}  // namespace

bool countsAsForeground(const FocusOrigin& origin, const ForegroundInput& foreground) {
    if (foreground.thread == 0) return false;
    if (origin.thread != 0) return origin.thread == foreground.thread || origin.insideForeground;
    // Announced without a window (an element of a web page, say): its program must be the
    // foreground's or that of the foreground's focus window.
    return origin.process != 0 && (origin.process == foreground.process || origin.process == foreground.focusProcess);
}

FocusRequest onFocusMoved(FocusTracker& tracker, const FocusOrigin& origin, FocusVerdict verdict,
                          const ForegroundInput& foreground, Tick now) {
    if (!countsAsForeground(origin, foreground)) return {};
    ++tracker.serial;
    tracker.failedAttempts = 0;
    tracker.retryAt = 0;
    // The focus has moved: what was held back for it is judged with the new focus.
    tracker.typeAheadUntil = 0;
    tracker.wakeChanged = true;
    switch (verdict) {
    case FocusVerdict::Password:
        tracker.judgement = FocusJudgement::Password;
        return {};
    case FocusVerdict::NotPassword:
        tracker.judgement = FocusJudgement::NotPassword;
        return {};
    default:
        tracker.judgement = FocusJudgement::Pending;
        return ask(tracker, now);
    }
}

void onForegroundChanged(FocusTracker& tracker) { tracker.menuDepth = 0; }

void onMenuOpened(FocusTracker& tracker, const FocusOrigin& origin, const ForegroundInput& foreground) {
    if (!countsAsForeground(origin, foreground)) return;
    if (tracker.menuDepth == 0) tracker.menuFloor = judgedMode(tracker);
    ++tracker.menuDepth;
}

bool onMenuClosed(FocusTracker& tracker, const FocusOrigin& origin, const ForegroundInput& foreground) {
    if (!countsAsForeground(origin, foreground) || tracker.menuDepth == 0) return false;
    if (--tracker.menuDepth > 0) return false;
    // Judged again at once, the field keeps its privacy until the new verdict.
    tracker.menuFloor = PrivacyMode::Open;
    return true;
}

FocusRequest onFocusAnswer(FocusTracker& tracker, std::uint32_t worker, std::uint32_t serial, FocusAnswer answer,
                           Tick now) {
    noteAnswered(tracker.desk, worker, serial, now);
    tracker.wakeChanged = true;
    if (serial != tracker.serial || tracker.judgement != FocusJudgement::Pending) return {};
    switch (answer) {
    case FocusAnswer::Password:
        tracker.judgement = FocusJudgement::Password;
        break;
    case FocusAnswer::NotPassword:
        tracker.judgement = FocusJudgement::NotPassword;
        break;
    default:
        // Not known: still private, and asked again a while later.
        if (tracker.retryAt == 0) scheduleRetry(tracker, now);
        break;
    }
    return {};
}

FocusRequest onTimePassed(FocusTracker& tracker, Tick now) {
    tracker.wakeChanged = true;
    if (FocusRequest fresh = replaceStuckWorker(tracker, now); fresh.serial != 0) return fresh;
    if (tracker.retryAt != 0 && now >= tracker.retryAt) {
        tracker.retryAt = 0;
        if (tracker.judgement == FocusJudgement::Pending) return ask(tracker, now);
    }
    return {};
}

void noteKeyPressed(FocusTracker& tracker, int vkey, bool keyUp, Tick now) {
    if (keyUp || (vkey != VK_TAB_KEY && vkey != VK_RETURN_KEY)) return;
    noteButtonPressed(tracker, now);
}

void noteButtonPressed(FocusTracker& tracker, Tick now) {
    tracker.typeAheadUntil = now + TYPE_AHEAD_MS;
    tracker.wakeChanged = true;
}

Tick nextFocusWake(const FocusTracker& tracker, Tick now) {
    Tick wake = 0;
    // Anything overdue is due at once.
    const auto consider = [&wake, now](Tick at) {
        at = std::max(at, now + 1);
        if (wake == 0 || at < wake) wake = at;
    };
    if (tracker.typeAheadUntil > now) consider(tracker.typeAheadUntil);
    if (tracker.retryAt != 0) consider(tracker.retryAt);
    const QuestionDesk& desk = tracker.desk;
    if (desk.busyWith != 0 && desk.stuckWorkers < MAX_STUCK_WORKERS) consider(desk.busySince + QUESTION_STUCK_MS);
    return wake;
}
