#include "app/focus_probe.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/accessibility_libraries.h"
#include "app/focus_question.h"

namespace {

struct Worker {
    std::uint32_t id = 0;
    HWND reply = nullptr;
    std::mutex lock;
    std::condition_variable asked;
    std::optional<FocusQuestion> next;
    bool abandoned = false;
};

std::shared_ptr<Worker> liveWorker;  // the window thread's alone

std::optional<FocusQuestion> nextQuestion(Worker& w) {
    std::unique_lock<std::mutex> hold(w.lock);
    w.asked.wait(hold, [&w] { return w.next.has_value() || w.abandoned; });
    std::optional<FocusQuestion> q = w.next;
    w.next.reset();
    return q;
}

void answerQuestions(const std::shared_ptr<Worker>& w) {
    const ComApartment apartment(accessibilityLibraries());
    FocusQuestions questions;
    while (const std::optional<FocusQuestion> q = nextQuestion(*w)) {
        const FocusAnswer answer = apartment.entered() ? questions.answer(*q) : FocusAnswer::Unknown;
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
