// Which focus makes typing private, when a verdict is waited for, and that no question about
// a focus can leave the program believing a password field is anything else.
#include <gtest/gtest.h>

#include "fake_focus_source.h"

namespace {

struct FocusTrackerTest : ::testing::Test {
    FocusTracker tracker;
    Tick now = 50000;
    FakeFocusSource desktop{tracker, now};

    // Runs the timer the platform would set until it asks a question, or until `until`.
    FocusRequest timerUntilAsked(Tick until) {
        for (Tick wake = nextFocusWake(tracker, now); wake != 0 && wake <= until; wake = nextFocusWake(tracker, now)) {
            now = wake;
            if (FocusRequest r = onTimePassed(tracker, now); r.serial != 0) return r;
        }
        now = until;
        return {};
    }
};

using Source = FakeFocusSource;

}  // namespace

TEST_F(FocusTrackerTest, OnlyTheForegroundsOwnFocusCounts) {
    desktop.passwordField();
    // Another program announcing a focus every 100 ms, of a window of its own or of an
    // element without a window, while the user types into the password field.
    for (int i = 0; i < 50; ++i) {
        now += 100;
        EXPECT_EQ(desktop.focus(FocusVerdict::NotPassword, Source::inBackground()).serial, 0u);
        EXPECT_EQ(desktop.focus(FocusVerdict::NotPassword, Source::elementOf(Source::BACKGROUND_PROCESS)).serial, 0u);
        EXPECT_EQ(desktop.fieldToAsk(Source::inBackground()).serial, 0u);
        EXPECT_EQ(desktop.mode(), PrivacyMode::Private);
    }

    // The foreground's own thread, a window of another program inside the foreground window
    // (a web view), and an element of the foreground's program or of that web view's count.
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    desktop.focus(FocusVerdict::Password, Source::inWebView());
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);
    desktop.focus(FocusVerdict::NotPassword, Source::elementOf(Source::FOREGROUND_PROCESS));
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    desktop.foreground.focusProcess = Source::WEB_VIEW_PROCESS;
    desktop.focus(FocusVerdict::Password, Source::elementOf(Source::WEB_VIEW_PROCESS));
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);

    // With no window in the foreground, nobody's announcement is believed.
    desktop.foreground = {};
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);
}

TEST_F(FocusTrackerTest, APasswordFieldIsPrivateAgainWhenItsOwnMenuCloses) {
    desktop.passwordField();
    // Right-click: a context menu, its items focused one by one, a submenu, then Esc.
    onMenuOpened(tracker, Source::inForeground(), desktop.foreground);
    desktop.focus(FocusVerdict::AskAccessibility);
    desktop.answer({tracker.serial, tracker.desk.worker}, FocusAnswer::NotPassword);
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private) << "a menu item of the password field";
    onMenuOpened(tracker, Source::inForeground(), desktop.foreground);
    EXPECT_FALSE(desktop.menuClosed(FocusVerdict::Password)) << "the outer menu is still open";
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);
    EXPECT_TRUE(desktop.menuClosed(FocusVerdict::Password));
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);

    // Alt then Esc in a plain field: its menu bar's items and the field itself are open.
    desktop.plainField();
    onMenuOpened(tracker, Source::inForeground(), desktop.foreground);
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    EXPECT_TRUE(desktop.menuClosed(FocusVerdict::NotPassword));
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
}

TEST_F(FocusTrackerTest, MenusOfOtherProgramsAndMenusThatNeverCloseCannotHoldPrivacyOpenOrShut) {
    desktop.plainField();
    onMenuOpened(tracker, Source::inBackground(), desktop.foreground);
    EXPECT_EQ(tracker.menuDepth, 0);
    EXPECT_FALSE(desktop.menuClosed(FocusVerdict::NotPassword, Source::inBackground()));

    // A password field's menu whose closing is never announced: the next foreground window
    // judges its own focus afresh.
    desktop.passwordField();
    onMenuOpened(tracker, Source::inForeground(), desktop.foreground);
    onForegroundChanged(tracker);
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    // A closing without an opening changes nothing.
    EXPECT_FALSE(desktop.menuClosed(FocusVerdict::NotPassword));
}

TEST_F(FocusTrackerTest, AFocusWaitingForItsVerdictHoldsReportsBackUntilTheAnswerAboutItComes) {
    const FocusRequest first = desktop.fieldToAsk();
    EXPECT_NE(first.serial, 0u);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
    desktop.answer(first, FocusAnswer::NotPassword);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);

    const FocusRequest second = desktop.fieldToAsk();
    desktop.answer(second, FocusAnswer::Password);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);

    // An answer about a focus that has moved on since tells nothing about the new one.
    const FocusRequest third = desktop.fieldToAsk();
    const FocusRequest fourth = desktop.fieldToAsk();
    EXPECT_EQ(fourth.worker, third.worker);
    desktop.answer(third, FocusAnswer::NotPassword);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
    desktop.answer(fourth, FocusAnswer::Password);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private);
}

TEST_F(FocusTrackerTest, AFocusNobodyCouldJudgeStaysPrivateAndIsAskedAgainLessAndLessOften) {
    FocusRequest asked = desktop.fieldToAsk();
    std::vector<Tick> gaps;
    for (int i = 0; i < 7; ++i) {
        const Tick answeredAt = now;
        desktop.answer(asked, FocusAnswer::Unknown);
        EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
        asked = timerUntilAsked(now + 10000);
        EXPECT_EQ(asked.serial, tracker.serial);
        gaps.push_back(now - answeredAt);
    }
    EXPECT_EQ(gaps, (std::vector<Tick>{250, 500, 1000, 2000, 4000, 4000, 4000}));

    // Nothing is asked while nothing is due: the platform's timer rests.
    desktop.answer(asked, FocusAnswer::NotPassword);
    EXPECT_EQ(nextFocusWake(tracker, now), 0u);
}

TEST_F(FocusTrackerTest, AStuckQuestionIsLeftToItsWorkerAndAFreshWorkerAnswersTheNextFocus) {
    const FocusRequest hung = desktop.fieldToAsk();  // a program that never answers
    now += 300;
    const FocusRequest next = desktop.fieldToAsk();
    EXPECT_EQ(next.worker, hung.worker) << "waits behind the busy worker at first";
    const FocusRequest reasked = timerUntilAsked(now + 2000);
    EXPECT_EQ(reasked.serial, next.serial);
    EXPECT_NE(reasked.worker, hung.worker);
    EXPECT_EQ(now, 50000 + QUESTION_STUCK_MS);
    desktop.answer(reasked, FocusAnswer::NotPassword);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);

    // The stuck worker returns at last; its answer about a focus long gone changes nothing.
    desktop.answer(hung, FocusAnswer::Password);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    EXPECT_EQ(tracker.desk.stuckWorkers, 0);
}

TEST_F(FocusTrackerTest, TheFocusAStuckWorkerWasAskedAboutStaysPrivateUntilItsAnswerComesLate) {
    const FocusRequest hung = desktop.fieldToAsk();
    EXPECT_EQ(timerUntilAsked(now + 5000).serial, 0u) << "not asked again while the first question is out";
    EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
    desktop.answer(hung, FocusAnswer::NotPassword);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
}

TEST_F(FocusTrackerTest, ProgramsThatHangOneAfterAnotherTieUpAFewWorkersAtMostAndNothingSpins) {
    std::vector<std::uint32_t> workers;
    for (int i = 0; i < 10; ++i) {
        const FocusRequest r = desktop.fieldToAsk();
        if (workers.empty() || workers.back() != r.worker) workers.push_back(r.worker);
        timerUntilAsked(now + 1500);
    }
    EXPECT_EQ(tracker.desk.stuckWorkers, MAX_STUCK_WORKERS);
    EXPECT_EQ(workers.size(), static_cast<std::size_t>(MAX_STUCK_WORKERS + 1));
    EXPECT_EQ(nextFocusWake(tracker, now), 0u);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
}

TEST_F(FocusTrackerTest, TabEnterAndClicksHoldWhatFollowsUntilTheFocusHasMovedOrItIsClearItWillNot) {
    desktop.plainField();
    noteKeyPressed(tracker, 'A', false, now);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    for (const int key : {0x09, 0x0D}) {
        noteKeyPressed(tracker, key, false, now);
        EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
        now += TYPE_AHEAD_MS;
        EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
    }
    noteKeyPressed(tracker, 0x09, true, now);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open) << "a key-up moves no focus";
    noteButtonPressed(tracker, now);
    EXPECT_EQ(nextFocusWake(tracker, now), now + TYPE_AHEAD_MS);
    desktop.passwordField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Private) << "the focus moved: its own verdict holds";

    // Tab out of a password field: what follows waits for the next field's verdict.
    noteKeyPressed(tracker, 0x09, false, now);
    EXPECT_EQ(desktop.mode(), PrivacyMode::Holding);
    desktop.plainField();
    EXPECT_EQ(desktop.mode(), PrivacyMode::Open);
}
