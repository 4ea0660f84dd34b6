#pragma once
// The platform's asynchronous key state.
#include "input/physical_key_state.h"

class Win32PhysicalKeyState : public PhysicalKeyState {
public:
    bool isDown(int vk) override;
};
