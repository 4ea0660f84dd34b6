#include "keyboard/arrangement_choice.h"

#include <optional>

#include "settings/app_settings.h"

namespace {

constexpr int ISO_KEY_SCAN_CODE = 0x56;
constexpr int BACKSLASH_KEY_SCAN_CODE = 0x2B;

struct KeyCharacters {
    std::optional<wchar_t> normal;
    std::optional<wchar_t> shifted;
    bool operator==(const KeyCharacters&) const = default;
};

KeyCharacters charactersAt(int scanCode, KeyboardQuery& query) {
    const int vk = query.virtualKeyOf(scanCode);
    if (vk == 0) return {};
    return {query.keyCharacter(vk, false, false), query.keyCharacter(vk, true, false)};
}

}  // namespace

bool layoutHasIsoKey(KeyboardQuery& query) {
    const KeyCharacters iso = charactersAt(ISO_KEY_SCAN_CODE, query);
    if (!iso.normal && !iso.shifted) return false;
    return !(iso == charactersAt(BACKSLASH_KEY_SCAN_CODE, query));
}

const KeyArrangement& arrangementFor(int layout, KeyboardQuery& query) {
    if (layout != LAYOUT_FULL) return COMPACT_KEYBOARD;
    if (query.japaneseKeyboard()) return FULL_KEYBOARD_JIS;
    return layoutHasIsoKey(query) ? FULL_KEYBOARD_ISO : FULL_KEYBOARD_ANSI;
}
