#pragma once
// The physical keys that are down, each with the on-screen key its key-down lit. A key-up
// releases exactly that on-screen key, whatever the Shift state or the layout has become in
// between: ';' pressed under Shift lights ":", and its key-up after Shift went up types ';'.
#include <array>
#include <optional>

#include "common/types.h"

// A physical key: its make code and E0 prefix when the report carries a make code, otherwise
// its virtual-key code (reports made up by software often have no make code).
int physicalKeyId(int makeCode, bool extended, int vkey);

constexpr int PHYSICAL_KEY_IDS = 0x300;

struct HeldKey {
    int id = 0;          // the physical key
    int code = 0;        // the on-screen key it lit
    int platformVk = 0;  // the key the platform's physical key state is asked about
    Tick pressedAt = 0;  // its latest key-down report
};

// At most one entry per physical key, so it can never overflow, whatever the reports.
struct HeldKeys {
    std::array<HeldKey, PHYSICAL_KEY_IDS> keys{};
    int count = 0;

    HeldKey* find(int id);
    // Records the key as down; an entry for the same physical key is replaced.
    void hold(const HeldKey& key);
    // Forgets the physical key; nothing happens when it is not down.
    void forget(int id);
    // Forgets the physical key and gives the on-screen key it lit; none when it was not down.
    std::optional<int> release(int id);
    bool holdsCode(int code) const;
    void clear() { count = 0; }
};
