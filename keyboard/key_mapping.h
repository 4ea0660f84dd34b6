#pragma once
// Which on-screen key a raw keyboard report stands for, and what the report says of the key
// beyond that: whether it typed a character, and which virtual key the platform's own key
// state knows it by.
#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"

// The parts of a report the mapping reads.
struct ReportedKey {
    int vkey = 0;
    int makeCode = 0;
    bool extended = false;  // the make code came with the E0 prefix
};

// One of the Shift reports the keyboard sends around the grey navigation keys and the grey
// "/" (E0 2A, E0 AA, E0 36, E0 B6), so that the system sees them unshifted: no Shift key moved.
bool isFakeShift(const ReportedKey& report);

// The key of a full keyboard that the report comes from, by where it sits (key_codes.h);
// NO_KEY for a report of no key.
int physicalKeyOf(const ReportedKey& report, KeyboardQuery& query);

// The key of `layout` that the report lights: its physical key when the layout names keys so,
// else the key matched by canonicalKey; null for a fake Shift, a report of no key, or a key the
// layout does not show.
const KeyCap* keyForReport(const ReportedKey& report, const KeyboardLayout& layout, bool labelShift,
                           KeyboardQuery& query);

// The keypad's digits and point without Num Lock report the navigation keys they stand for,
// and then type nothing.
bool isNavigationReport(int vkey);

// The side-specific virtual key by which the platform's key state knows the reported key.
int platformKeyOf(const ReportedKey& report);
