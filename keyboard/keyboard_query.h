#pragma once
// What the labels and the key mapping ask of the user's keyboard layout. The Win32
// implementation asks the platform; tests give fakes that type like a chosen layout.
#include <cstdint>
#include <optional>

// The program the user types into, as far as the platform shows it.
struct ForegroundKeyboard {
    std::uintptr_t layout = 0;  // the keyboard layout of its thread; 0 when there is none to see
    bool ownProcess = false;    // it is this program: its menu or one of its dialogs
};

class KeyboardQuery {
public:
    virtual ~KeyboardQuery() = default;
    // The character `vk` types in the layout in use with Shift held or not and Caps Lock
    // toggled or not (no other modifier); none when the key types nothing or is a dead key.
    virtual std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) = 0;
    // Caps Lock is toggled on, as this thread's key state tells it (see CapsLockState).
    virtual bool capsLockOn() = 0;
    // Names the layout in use: another value, other characters.
    virtual std::uintptr_t layoutId() = 0;
    // The system's own Shift state: whether a Shift key is down now.
    virtual bool systemShiftDown() = 0;
    // The layout of the foreground window's thread; by default nothing can be seen.
    virtual ForegroundKeyboard foregroundKeyboard() { return {}; }
    // From now on characters are asked of `layout`, a value foregroundKeyboard gave.
    virtual void useLayout(std::uintptr_t layout) { (void)layout; }
    // The virtual key that the layout in use gives the key of `scanCode` (0xE0 in its high
    // byte for an E0 key); 0 when it gives none.
    virtual int virtualKeyOf(int scanCode) { (void)scanCode; return 0; }
    // The scan code of `vk` in the layout in use, written the same way; 0 when it has none.
    virtual int scanCodeOf(int vk) { (void)vk; return 0; }
    // The keyboard is a Japanese one (106 or 109 keys).
    virtual bool japaneseKeyboard() { return false; }
};

// Another query's answers with Caps Lock as given, or as the other query tells it once, read
// at most once: every label drawn in a frame, and every key mapped for a report, sees the same
// state.
class KeyboardQueryWithCapsLock : public KeyboardQuery {
public:
    KeyboardQueryWithCapsLock(KeyboardQuery& source, std::optional<bool> capsLock)
        : source_(source), capsLock_(capsLock) {}
    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) override {
        return source_.keyCharacter(vk, shift, capsLock);
    }
    bool capsLockOn() override {
        if (!capsLock_) capsLock_ = source_.capsLockOn();
        return *capsLock_;
    }
    std::uintptr_t layoutId() override { return source_.layoutId(); }
    bool systemShiftDown() override { return source_.systemShiftDown(); }
    ForegroundKeyboard foregroundKeyboard() override { return source_.foregroundKeyboard(); }
    void useLayout(std::uintptr_t layout) override { source_.useLayout(layout); }
    int virtualKeyOf(int scanCode) override { return source_.virtualKeyOf(scanCode); }
    int scanCodeOf(int vk) override { return source_.scanCodeOf(vk); }
    bool japaneseKeyboard() override { return source_.japaneseKeyboard(); }

private:
    KeyboardQuery& source_;
    std::optional<bool> capsLock_;
};
