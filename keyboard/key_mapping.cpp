#include "keyboard/key_mapping.h"

#include "keyboard/key_labels.h"
#include "keyboard/virtual_keys.h"

namespace {

constexpr int NO_MAKE_CODE = 0;
constexpr int OVERRUN_MAKE_CODE = 0xFF;
constexpr int NUM_LOCK_MAKE_CODE = 0x45;
constexpr int PRINT_SCREEN_MAKE_CODE = 0x37;

// Three keys send sequences of their own rather than one make code: Pause sends E1 1D 45 (and
// Ctrl+Pause E0 46), Num Lock's 45 is sent with and without E0 by different keyboards, and
// Alt+Print Screen sends 54 instead of E0 37. Their virtual keys name them surely.
int keyOfSequenceKey(int vkey) {
    switch (vkey) {
    case VK_PAUSE_CODE:
    case VK_CANCEL_CODE: return PAUSE_KEY;
    case VK_NUMLOCK_CODE: return physicalKey(NUM_LOCK_MAKE_CODE);
    case VK_SNAPSHOT_CODE: return extendedKey(PRINT_SCREEN_MAKE_CODE);
    default: return NO_KEY;
    }
}

bool hasMakeCode(int makeCode) { return makeCode > NO_MAKE_CODE && makeCode < OVERRUN_MAKE_CODE; }

}  // namespace

bool isFakeShift(const ReportedKey& report) {
    return report.extended && (report.makeCode == MAKE_CODE_LEFT_SHIFT || report.makeCode == MAKE_CODE_RIGHT_SHIFT);
}

int physicalKeyOf(const ReportedKey& report, KeyboardQuery& query) {
    if (report.vkey == VK_NO_KEY_CODE || isFakeShift(report)) return NO_KEY;
    if (const int key = keyOfSequenceKey(report.vkey); key != NO_KEY) return key;
    if (hasMakeCode(report.makeCode))
        return report.extended ? extendedKey(report.makeCode) : physicalKey(report.makeCode);
    // A report made up by software may carry no make code: the layout knows where its key is.
    if (report.vkey <= 0 || report.vkey >= VK_NO_KEY_CODE) return NO_KEY;
    return keyOfScanCode(query.scanCodeOf(report.vkey));
}

const KeyCap* keyForReport(const ReportedKey& report, const KeyboardLayout& layout, bool labelShift,
                           KeyboardQuery& query) {
    if (isFakeShift(report) || report.vkey == VK_NO_KEY_CODE) return nullptr;
    if (namesKeysByPlace(layout)) return findKey(layout, physicalKeyOf(report, query));
    return findKey(layout, canonicalKey(report.makeCode, report.vkey, labelShift, query, layout));
}

bool isNavigationReport(int vkey) {
    return vkey == VK_CLEAR_CODE || (vkey >= VK_PRIOR_CODE && vkey <= VK_DOWN_CODE) || vkey == VK_INSERT_CODE ||
           vkey == VK_DELETE_CODE;
}

int platformKeyOf(const ReportedKey& report) {
    switch (report.vkey) {
    case VK_SHIFT_GENERIC: return report.makeCode == MAKE_CODE_RIGHT_SHIFT ? VK_RSHIFT_CODE : VK_LSHIFT_CODE;
    case VK_CONTROL_GENERIC: return report.extended ? VK_RCONTROL_CODE : VK_LCONTROL_CODE;
    case VK_MENU_GENERIC: return report.extended ? VK_RMENU_CODE : VK_LMENU_CODE;
    default: return report.vkey;
    }
}
