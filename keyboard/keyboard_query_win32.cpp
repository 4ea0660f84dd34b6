#include "keyboard/keyboard_query_win32.h"

#include <windows.h>

#include <array>

namespace {

constexpr int KEY_STATE_SIZE = 256;
constexpr BYTE KEY_DOWN = 0x80;
constexpr BYTE KEY_TOGGLED = 0x01;
constexpr int OUTPUT_UNITS = 8;
// A dead key typed twice yields its characters and empties the buffer; a few more tries
// cover layouts that chain dead keys.
constexpr int DEAD_KEY_FLUSH_TRIES = 4;

// Only Shift and Caps Lock are ever set, so a Ctrl or Alt held by the user never changes a
// label or the key a report lights.
std::array<BYTE, KEY_STATE_SIZE> queryState(bool shift, bool capsLock) {
    std::array<BYTE, KEY_STATE_SIZE> state{};
    if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = state[VK_RSHIFT] = KEY_DOWN;
    if (capsLock) state[VK_CAPITAL] = KEY_TOGGLED;
    return state;
}

// ToUnicodeEx keeps a dead key in the layout's pending-accent buffer, where it would combine
// with the next key the user types in any application. Translating the same key again
// releases the accent, so asking for a label never changes what the user types next.
void flushDeadKey(UINT vk, UINT scan, const BYTE* state, HKL layout) {
    for (int i = 0; i < DEAD_KEY_FLUSH_TRIES; ++i) {
        std::array<WCHAR, OUTPUT_UNITS> discard{};
        if (ToUnicodeEx(vk, scan, state, discard.data(), OUTPUT_UNITS, 0, layout) >= 0) return;
    }
}

// The character `vk` types in `layout`, asked of the platform.
std::optional<wchar_t> translateKey(UINT vk, bool shift, bool capsLock, HKL layout) {
    const std::array<BYTE, KEY_STATE_SIZE> state = queryState(shift, capsLock);
    const UINT scan = MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout);
    std::array<WCHAR, OUTPUT_UNITS> output{};
    const int result = ToUnicodeEx(vk, scan, state.data(), output.data(), OUTPUT_UNITS, 0, layout);
    if (result < 0) flushDeadKey(vk, scan, state.data(), layout);
    if (result <= 0) return std::nullopt;
    return output[0];
}

// The window that has the keyboard focus, which may belong to another thread of the program
// than its foreground window does; else the foreground window.
HWND focusOrForeground() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(0, &info) && info.hwndFocus) return info.hwndFocus;
    return GetForegroundWindow();
}

}  // namespace

void* Win32KeyboardQuery::layout() {
    if (!layoutInUse_) layoutInUse_ = GetKeyboardLayout(0);
    return layoutInUse_;
}

void* Win32KeyboardQuery::answeringLayout() {
    void* const layout = this->layout();
    if (layout != answeredLayout_) {
        asked_.fill(false);
        virtualKeys_.fill(-1);
        answeredLayout_ = layout;
    }
    return layout;
}

std::optional<wchar_t> Win32KeyboardQuery::keyCharacter(int vk, bool shift, bool capsLock) {
    if (vk <= 0 || vk >= KEY_STATE_SIZE) return std::nullopt;
    const HKL layout = static_cast<HKL>(answeringLayout());
    const std::size_t slot = static_cast<std::size_t>(vk) * 4 + (shift ? 2 : 0) + (capsLock ? 1 : 0);
    if (!asked_[slot]) {
        answers_[slot] = translateKey(static_cast<UINT>(vk), shift, capsLock, layout);
        asked_[slot] = true;
    }
    return answers_[slot];
}

// This thread's key state: it moves only as the thread takes key messages, which this program
// does not, so it is one of two sources (see CapsLockState).
bool Win32KeyboardQuery::capsLockOn() { return (GetKeyState(VK_CAPITAL) & 0x0001) != 0; }

std::uintptr_t Win32KeyboardQuery::layoutId() { return reinterpret_cast<std::uintptr_t>(layout()); }

// The asynchronous state, which follows the keyboard itself: this thread's own key state
// stays behind, since it takes no key messages.
bool Win32KeyboardQuery::systemShiftDown() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

// With a layout per application (and on every thread that has not been in front since the
// layout was switched) only the thread typed into knows the layout the user types with. A
// layout handle names a layout loaded for the whole session, so this thread can translate
// keys with it.
ForegroundKeyboard Win32KeyboardQuery::foregroundKeyboard() {
    const HWND window = focusOrForeground();
    if (!window) return {};
    DWORD process = 0;
    const DWORD thread = GetWindowThreadProcessId(window, &process);
    if (thread == 0) return {};
    return {reinterpret_cast<std::uintptr_t>(GetKeyboardLayout(thread)), process == GetCurrentProcessId()};
}

void Win32KeyboardQuery::useLayout(std::uintptr_t layout) { layoutInUse_ = reinterpret_cast<void*>(layout); }

// The scan codes that name the keys of a full keyboard, 0xE0 in the high byte for an E0 key,
// as MAPVK_VSC_TO_VK_EX takes them (it gives the side-specific Shift, Ctrl and Alt).
int Win32KeyboardQuery::virtualKeyOf(int scanCode) {
    const int make = scanCode & 0xFF;
    const bool extended = (scanCode & 0xFF00) == 0xE000;
    if (make == 0 || ((scanCode & 0xFF00) != 0 && !extended)) return 0;
    const HKL layout = static_cast<HKL>(answeringLayout());
    short& answer = virtualKeys_[static_cast<std::size_t>(make + (extended ? 0x100 : 0))];
    if (answer < 0) answer = static_cast<short>(MapVirtualKeyExW(static_cast<UINT>(scanCode), MAPVK_VSC_TO_VK_EX, layout) & 0xFF);
    return answer;
}

int Win32KeyboardQuery::scanCodeOf(int vk) {
    if (vk <= 0 || vk >= KEY_STATE_SIZE) return 0;
    return static_cast<int>(MapVirtualKeyExW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC_EX, static_cast<HKL>(layout())) & 0xFFFF);
}

// Type 7 is the Japanese keyboard, 106 keys or more.
bool Win32KeyboardQuery::japaneseKeyboard() { return GetKeyboardType(0) == 7; }
