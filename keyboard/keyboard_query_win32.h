#pragma once
// The character queries answered by the keyboard layout of the program being typed into.
#include <array>
#include <optional>

#include "keyboard/keyboard_query.h"

class Win32KeyboardQuery : public KeyboardQuery {
public:
    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) override;
    bool capsLockOn() override;
    std::uintptr_t layoutId() override;
    bool systemShiftDown() override;
    ForegroundKeyboard foregroundKeyboard() override;
    void useLayout(std::uintptr_t layout) override;
    int virtualKeyOf(int scanCode) override;
    int scanCodeOf(int vk) override;
    bool japaneseKeyboard() override;

private:
    static constexpr int KEY_CODES = 256;
    static constexpr int SCAN_CODES = 0x200;  // with and without E0
    void* layout();
    // The layout in use; every answer kept for another one is forgotten first.
    void* answeringLayout();
    // The layout characters are asked of; until one is chosen, this thread's own.
    void* layoutInUse_ = nullptr;
    // What the layout in use types for each key, Shift and Caps Lock state, asked once per
    // layout: every label of every frame needs one, and under Wine each translation costs
    // tens of microseconds. A layout never changes what it types; switching to another
    // layout (another handle) forgets every answer.
    void* answeredLayout_ = nullptr;
    std::array<bool, KEY_CODES * 4> asked_{};
    std::array<std::optional<wchar_t>, KEY_CODES * 4> answers_{};
    // The virtual key of each scan code, likewise; -1 until asked.
    std::array<short, SCAN_CODES> virtualKeys_{};
};
