#include "input/held_keys.h"

namespace {

// 0xFF is the keyboard's "overrun" report, not a key.
constexpr int NO_MAKE_CODE = 0;
constexpr int OVERRUN_MAKE_CODE = 0xFF;
constexpr int EXTENDED_IDS = 0x100;
constexpr int VIRTUAL_KEY_IDS = 0x200;

}  // namespace

int physicalKeyId(int makeCode, bool extended, int vkey) {
    if (makeCode > NO_MAKE_CODE && makeCode < OVERRUN_MAKE_CODE) return (extended ? EXTENDED_IDS : 0) | makeCode;
    return VIRTUAL_KEY_IDS | (vkey & 0xFF);
}

HeldKey* HeldKeys::find(int id) {
    for (int i = 0; i < count; ++i)
        if (keys[i].id == id) return &keys[i];
    return nullptr;
}

void HeldKeys::hold(const HeldKey& key) {
    if (HeldKey* existing = find(key.id)) {
        *existing = key;
        return;
    }
    if (count < PHYSICAL_KEY_IDS) keys[count++] = key;
}

void HeldKeys::forget(int id) {
    for (int i = 0; i < count; ++i) {
        if (keys[i].id != id) continue;
        keys[i] = keys[--count];
        return;
    }
}

std::optional<int> HeldKeys::release(int id) {
    const HeldKey* held = find(id);
    if (held == nullptr) return std::nullopt;
    const int code = held->code;
    forget(id);
    return code;
}

bool HeldKeys::holdsCode(int code) const {
    for (int i = 0; i < count; ++i)
        if (keys[i].code == code) return true;
    return false;
}
