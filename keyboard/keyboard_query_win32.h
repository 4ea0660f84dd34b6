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

private:
    static constexpr int KEY_CODES = 256;
    void* layout();
    // The layout characters are asked of; until one is chosen, this thread's own.
    void* layoutInUse_ = nullptr;
    // What the layout in use types for each key, Shift and Caps Lock state, asked once per
    // layout: every label of every frame needs one, and under Wine each translation costs
    // tens of microseconds. A layout never changes what it types; switching to another
    // layout (another handle) forgets every answer.
    void* answeredLayout_ = nullptr;
    std::array<bool, KEY_CODES * 4> asked_{};
    std::array<std::optional<wchar_t>, KEY_CODES * 4> answers_{};
};
