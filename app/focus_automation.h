#pragma once
// UI Automation's focus-changed events, heard on a thread of their own. Registering for them
// is what makes Chromium browsers, Electron apps and WebView2 expose their fields at all, and
// each event brings the focused element's IsPassword with it, so a field inside a web page is
// judged without a question. Where the client is missing (Wine 8), nothing is started and the
// focus events of the window system, with Active Accessibility, do the work.
#include <windows.h>

#include <cstdint>

// wParam: the element's process; lParam: its window (0 for an element without one) in the low
// 32 bits, bit 32 set when IsPassword was told, bit 33 its value.
constexpr UINT WM_AUTOMATION_FOCUS = WM_APP + 0x190;

struct AutomationFocus {
    std::uint32_t process = 0;
    HWND window = nullptr;
    bool passwordKnown = false;
    bool password = false;
};

inline LPARAM packAutomationWindow(std::uint32_t window, bool passwordKnown, bool password) {
    return static_cast<LPARAM>(std::uint64_t{window} | std::uint64_t{passwordKnown} << 32 |
                               std::uint64_t{password} << 33);
}
inline AutomationFocus automationFocusOf(WPARAM process, LPARAM packed) {
    const auto bits = static_cast<std::uint64_t>(packed);
    // Window handles carry 32 significant bits, also in 64-bit programs, widened with their sign.
    const auto window = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
    return {static_cast<std::uint32_t>(process), reinterpret_cast<HWND>(static_cast<std::intptr_t>(window)),
            ((bits >> 32) & 1) != 0, ((bits >> 33) & 1) != 0};
}

// Starts listening, unless UI Automation's client is missing; the events arrive at `reply`.
void watchAutomationFocus(HWND reply);
// No more events are posted; the thread ends on its own.
void stopWatchingAutomationFocus();
