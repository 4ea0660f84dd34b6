#pragma once
// What the labels and the key mapping ask of the user's keyboard layout. The Win32
// implementation asks the platform; tests give fakes that type like a chosen layout.
#include <cstdint>
#include <optional>

class KeyboardQuery {
public:
    virtual ~KeyboardQuery() = default;
    // The character `vk` types with Shift held or not and Caps Lock toggled or not (no other
    // modifier); none when the key types nothing or is a dead key.
    virtual std::optional<wchar_t> keyCharacter(int vk, bool shift, bool capsLock) = 0;
    // Caps Lock is toggled on.
    virtual bool capsLockOn() = 0;
    // Names the active keyboard layout: another value, other characters.
    virtual std::uintptr_t layoutId() = 0;
    // The system's own Shift state (high bit of the key state of VK_SHIFT).
    virtual bool systemShiftDown() = 0;
};
