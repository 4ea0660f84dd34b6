#pragma once
// The character queries answered by the keyboard layout of the program's own thread.
#include "keyboard/keyboard_query.h"

class Win32KeyboardQuery : public KeyboardQuery {
public:
    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) override;
    bool capsLockOn() override;
    bool systemShiftDown() override;
};
