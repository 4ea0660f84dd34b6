#pragma once
// Whether a key is physically down right now, as the platform tells it. Asked only about keys
// that are shown as held, to catch a key-up that never reached the program.
class PhysicalKeyState {
public:
    virtual ~PhysicalKeyState() = default;
    virtual bool isDown(int vk) = 0;
};
