#include "keyboard/key_labels.h"

namespace {

constexpr int MAX_LABEL_LENGTH = 15;

std::optional<wchar_t> characterWithLabelState(int vk, bool labelShift, KeyboardQuery& query) {
    return query.keyCharacter(vk, labelShift, query.capsLockOn());
}

bool isMatchedByCharacter(int vk) {
    return (vk >= VK_OEM_FIRST_PUNCTUATION && vk <= VK_OEM_LAST_PUNCTUATION) || vk == VK_PROCESSKEY_CODE ||
           vk == VK_SPACE_CODE;
}

// The on-screen key whose legend shows this character (either of its two characters), or
// none when no key does.
std::optional<int> keyForCharacter(wchar_t c) {
    switch (c) {
    case L' ':
        return VK_SPACE_CODE;
    case L'*':
    case L':':
        return VK_OEM_7_CODE;
    case L'+':
    case L';':
        return VK_OEM_1_CODE;
    case L',':
    case L'<':
        return VK_OEM_COMMA_CODE;
    case L'-':
    case L'=':
    case L'\u30FC':  // katakana prolonged sound mark
    case L'\uFF70':  // its half-width form
        return VK_OEM_MINUS_CODE;
    case L'.':
    case L'>':
        return VK_OEM_PERIOD_CODE;
    case L'/':
    case L'?':
        return VK_OEM_2_CODE;
    case L'@':
    case L'`':
        return VK_OEM_3_CODE;
    default:
        return std::nullopt;
    }
}

}  // namespace

std::uintptr_t layoutToFollow(const ForegroundKeyboard& foreground, std::uintptr_t inUse) {
    if (foreground.layout == 0 || foreground.ownProcess) return inUse;
    return foreground.layout;
}

bool followForegroundLayout(KeyboardQuery& query) {
    const std::uintptr_t inUse = query.layoutId();
    const std::uintptr_t next = layoutToFollow(query.foregroundKeyboard(), inUse);
    if (next == inUse) return false;
    query.useLayout(next);
    return true;
}

bool isShiftDown(const KeyStateTable& keys, KeyboardQuery& query) {
    return keys.isHeld(VK_LSHIFT_CODE) || keys.isHeld(VK_RSHIFT_CODE) || query.systemShiftDown();
}

std::wstring keyLabel(int vk, const wchar_t* fixedLabel, bool labelShift, KeyboardQuery& query) {
    if (vk == VK_LSHIFT_CODE || vk == VK_RSHIFT_CODE) return L"Shift";
    if (vk == VK_SPACE_CODE) return L"Space";
    if (std::optional<wchar_t> c = characterWithLabelState(vk, labelShift, query)) return std::wstring(1, *c);
    std::wstring label;
    for (int i = 0; fixedLabel != nullptr && i < MAX_LABEL_LENGTH && fixedLabel[i] != L'\0'; ++i) label += fixedLabel[i];
    return label;
}

// Punctuation keys carry different codes from one layout to the next, so they are matched by
// the character they type; letters and digits keep their code whatever they type.
int canonicalKey(int makeCode, int vk, bool labelShift, KeyboardQuery& query) {
    if (vk == VK_SHIFT_GENERIC) {
        if (makeCode == MAKE_CODE_LEFT_SHIFT) return VK_LSHIFT_CODE;
        if (makeCode == MAKE_CODE_RIGHT_SHIFT) return VK_RSHIFT_CODE;
        return VK_SHIFT_GENERIC;
    }
    if (!isMatchedByCharacter(vk)) return vk;
    std::optional<wchar_t> c = characterWithLabelState(vk, labelShift, query);
    if (!c) return vk;
    return keyForCharacter(*c).value_or(vk);
}
