#pragma once
// A physical keyboard for tests: every key is down unless it is said to be up, so that the
// keys a test holds stay held until the test lets them go behind the program's back.
#include <set>

#include "input/physical_key_state.h"

class FakePhysicalKeyState : public PhysicalKeyState {
public:
    std::set<int> up;
    bool allUp = false;
    int queries = 0;

    bool isDown(int vk) override {
        ++queries;
        return !allUp && up.count(vk) == 0;
    }
};
