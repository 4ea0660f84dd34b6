#pragma once
// Where the keyboard focus is, as far as privacy goes: whether what is typed now may show,
// must wait until the focus is judged, or stays private. Fed by events (a focus moved, the
// foreground changed, a menu opened or closed, a question about a focus was answered, a
// key or a click that may move the focus, time passing); it decides, and says which
// question to ask of which worker. Nothing here waits on another program.
#include <cstdint>

#include "common/types.h"
#include "input/focus_privacy.h"

// What becomes of a key report at a given moment.
enum class PrivacyMode : std::uint8_t {
    Open,     // shown, clicked and counted at once
    Holding,  // kept back until the focus is judged: then shown with its own time, or dropped
    Private,  // dropped: a password field has the focus
};

// Who types now: the thread of the foreground window and its process, and the process of
// that thread's focus window, which may be another program's window inside it (a browser's
// web view, an embedded control).
struct ForegroundInput {
    std::uint32_t thread = 0;  // 0 when no window is in the foreground
    std::uint32_t process = 0;
    std::uint32_t focusProcess = 0;
};

// Where an announcement of a focus came from.
struct FocusOrigin {
    std::uint32_t thread = 0;       // the thread of the announced window; 0 when it names none
    std::uint32_t process = 0;
    bool insideForeground = false;  // the announced window is the foreground window or lies in it
};

// Only the foreground's own focus counts: any program may announce a focus of its own, in a
// window nobody types into, and is not believed.
bool countsAsForeground(const FocusOrigin& origin, const ForegroundInput& foreground);

enum class FocusAnswer : std::uint8_t { NotPassword, Password, Unknown };

// After a Tab, an Enter or a click, keys typed before the program under them has moved its
// focus would be shown in the field that had it, so what follows such a key waits this long
// for the focus to move. Measured under Wine (bench/measure_focus_delay.py), the focus event
// follows the key's or the click's raw report by 0.3 to 2 ms in the median and within 20 ms
// in 99 cases of 100; the largest delay seen was 64 ms. This allows for that and for slower
// programs, and stays below LIT_HOLD_MS, so that a tap held back this long still lights.
constexpr Tick TYPE_AHEAD_MS = 100;
// A question not answered for this long is given up: its worker is left to finish on its
// own and a fresh one takes the questions that follow.
constexpr Tick QUESTION_STUCK_MS = 1000;
// At most this many given-up workers are left waiting on other programs; beyond it the
// focus stays unjudged, and private, until one of them returns.
constexpr int MAX_STUCK_WORKERS = 4;
// A question that failed is asked again after 250 ms, then 500 ms, and so on up to 4 s.
constexpr Tick RETRY_FIRST_MS = 250;
constexpr Tick RETRY_LONGEST_MS = 4000;

// The questions handed to workers, as far as they can be known without waiting for one: a
// worker answers one question at a time, and a question posted while it is busy waits,
// replacing any older one still waiting.
struct QuestionDesk {
    std::uint32_t worker = 1;    // the live worker; a worker the platform has not seen is started
    std::uint32_t busyWith = 0;  // the question the live worker is answering; 0 while idle
    Tick busySince = 0;
    std::uint32_t waiting = 0;   // posted while busy, answered next
    int stuckWorkers = 0;        // given up on, and not yet returned
};

// Ask question `serial` of `worker`; serial 0: nothing to ask.
struct FocusRequest {
    std::uint32_t serial = 0;
    std::uint32_t worker = 0;
};

enum class FocusJudgement : std::uint8_t { NotPassword, Password, Pending };

struct FocusTracker {
    std::uint32_t serial = 0;  // of the latest focus that counts
    FocusJudgement judgement = FocusJudgement::NotPassword;
    Tick typeAheadUntil = 0;   // reports until then wait for the focus to move
    bool wakeChanged = false;  // nextFocusWake may have changed since the platform last looked
    // Menus of the foreground: while one is open the focus is on its items, and the field it
    // belongs to is judged again when the last one closes. A menu cannot make its field less
    // private than it was when the menu opened.
    int menuDepth = 0;
    PrivacyMode menuFloor = PrivacyMode::Open;
    // Questions about the latest focus that failed, and when to ask again.
    int failedAttempts = 0;
    Tick retryAt = 0;
    QuestionDesk desk;
};

// What the focus is judged to be, an open menu's floor included.
inline PrivacyMode judgedMode(const FocusTracker& tracker) {
    PrivacyMode mode = PrivacyMode::Open;
    switch (tracker.judgement) {
    case FocusJudgement::Password: mode = PrivacyMode::Private; break;
    case FocusJudgement::Pending: mode = PrivacyMode::Holding; break;
    default: break;
    }
    return tracker.menuDepth > 0 && tracker.menuFloor > mode ? tracker.menuFloor : mode;
}

// Read on every key report: a few comparisons.
inline PrivacyMode privacyMode(const FocusTracker& tracker, Tick now) {
    return now < tracker.typeAheadUntil ? PrivacyMode::Holding : judgedMode(tracker);
}

// The focus moved to an element judged `verdict` from what it shows of itself; an element it
// cannot judge is asked about, and is private until the answer comes.
FocusRequest onFocusMoved(FocusTracker& tracker, const FocusOrigin& origin, FocusVerdict verdict,
                          const ForegroundInput& foreground, Tick now);
// A new foreground window: its menus are gone. Its focus is then judged with onFocusMoved.
void onForegroundChanged(FocusTracker& tracker);
// A menu of some thread opened or closed. Returns true when the foreground's focus is to be
// judged again: its last menu closed.
void onMenuOpened(FocusTracker& tracker, const FocusOrigin& origin, const ForegroundInput& foreground);
bool onMenuClosed(FocusTracker& tracker, const FocusOrigin& origin, const ForegroundInput& foreground);
// What `worker` answered about focus `serial`.
FocusRequest onFocusAnswer(FocusTracker& tracker, std::uint32_t worker, std::uint32_t serial, FocusAnswer answer,
                           Tick now);
// Time passed: a stuck worker is replaced, a failed question asked again.
FocusRequest onTimePassed(FocusTracker& tracker, Tick now);
// A key or a button that may move the focus: Tab and Enter pressed, a mouse button pressed.
void noteKeyPressed(FocusTracker& tracker, int vkey, bool keyUp, Tick now);
void noteButtonPressed(FocusTracker& tracker, Tick now);
// When onTimePassed has something to do next, or 0 when nothing is due.
Tick nextFocusWake(const FocusTracker& tracker, Tick now);
