#include "input/physical_key_state_win32.h"

#include <windows.h>

// The asynchronous state follows the keyboard itself, not the messages of one thread. While
// another desktop has the keyboard (a UAC prompt, the lock screen) it says up for every key,
// which is the truth as far as this program can know it.
bool Win32PhysicalKeyState::isDown(int vk) {
    if (vk <= 0 || vk > 0xFF) return false;
    return (GetAsyncKeyState(vk) & 0x8000) != 0;
}
