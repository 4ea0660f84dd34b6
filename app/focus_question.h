#pragma once
// One question about the keyboard focus, answered by asking the program that has it whether
// its focused element takes a password. The answer takes as long as that program takes, or
// for ever when it hangs inside an accessibility call: only the focus workers ask.
#include <windows.h>
#include <oleacc.h>

#include <cstdint>
#include <memory>

#include "input/focus_tracker.h"

// The element a focus event named: a window, or an element inside it (a field of a web page).
struct FocusQuestion {
    std::uint32_t serial = 0;
    HWND window = nullptr;
    LONG object = OBJID_CLIENT;
    LONG child = CHILDID_SELF;
};

class AutomationQuestions;
struct AccessibilityLibraries;

// Active Accessibility's judgement of `element` (its `child`, or itself): the focus is
// followed down to the element that has it, since a window's root object is never a password
// field and the field inside it may be, and that element's state tells whether it is
// protected. Takes over `element` and `child`.
FocusAnswer focusedElementProtection(IAccessible* element, VARIANT child, const AccessibilityLibraries& libraries);

// The answers of one thread, which must have entered COM's multithreaded apartment. UI
// Automation is asked where its client is registered, Active Accessibility where it is not or
// tells nothing.
class FocusQuestions {
public:
    FocusQuestions();
    ~FocusQuestions();
    FocusQuestions(const FocusQuestions&) = delete;
    FocusQuestions& operator=(const FocusQuestions&) = delete;

    // Never a loop: a program that does not answer in time, or refuses (a window of an
    // administrator's program), gets "unknown", and the tracker asks again later.
    FocusAnswer answer(const FocusQuestion& question);

private:
    std::unique_ptr<AutomationQuestions> automation_;
};
