#pragma once
// Alt and Ctrl as the keyboard's own reports tell them, each side apart. The platform's key
// state, asked the moment a report arrives, may still answer from a copy taken before the key
// changed (Wine keeps one per thread for 50 ms); the report itself cannot be behind.
struct ModifierKeys {
    bool leftAlt = false;
    bool rightAlt = false;
    bool leftCtrl = false;
    bool rightCtrl = false;

    // Takes a keyboard report; returns whether it was one of these keys.
    bool note(int vk, bool extended, bool keyUp) {
        bool* side = sideOf(vk, extended);
        if (side == nullptr) return false;
        *side = !keyUp;
        return true;
    }
    bool alt() const { return leftAlt || rightAlt; }
    bool ctrl() const { return leftCtrl || rightCtrl; }

private:
    // The generic codes tell the right-hand key by its E0 prefix.
    bool* sideOf(int vk, bool extended) {
        switch (vk) {
        case 0x11: return extended ? &rightCtrl : &leftCtrl;  // VK_CONTROL
        case 0x12: return extended ? &rightAlt : &leftAlt;    // VK_MENU
        case 0xA2: return &leftCtrl;
        case 0xA3: return &rightCtrl;
        case 0xA4: return &leftAlt;
        case 0xA5: return &rightAlt;
        default: return nullptr;
        }
    }
};
