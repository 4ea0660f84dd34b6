#include "keyboard/key_labels.h"

namespace {

constexpr int MAX_LABEL_LENGTH = 15;

std::wstring fixedText(const wchar_t* fixedLabel) {
    std::wstring label;
    for (int i = 0; fixedLabel != nullptr && i < MAX_LABEL_LENGTH && fixedLabel[i] != L'\0'; ++i) label += fixedLabel[i];
    return label;
}

std::optional<wchar_t> characterWithLabelState(int vk, bool labelShift, KeyboardQuery& query) {
    return query.keyCharacter(vk, labelShift, query.capsLockOn());
}

bool isMatchedByCharacter(int vk) {
    return (vk >= VK_OEM_FIRST_PUNCTUATION && vk <= VK_OEM_LAST_PUNCTUATION) || vk == VK_PROCESSKEY_CODE ||
           vk == VK_SPACE_CODE;
}

bool matches(const wchar_t* characters, wchar_t c) {
    for (const wchar_t* p = characters; p != nullptr && *p != L'\0'; ++p)
        if (*p == c) return true;
    return false;
}

// The key whose legend shows this character (either of its two characters), or none.
std::optional<int> keyForCharacter(wchar_t c, const KeyboardLayout& layout) {
    for (const KeyCap& key : layout)
        if (matches(key.matchedCharacters, c)) return key.vk;
    return std::nullopt;
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

bool isShiftKey(int code) {
    return code == VK_LSHIFT_CODE || code == VK_RSHIFT_CODE || code == physicalKey(MAKE_CODE_LEFT_SHIFT) ||
           code == physicalKey(MAKE_CODE_RIGHT_SHIFT);
}

bool isShiftDown(const KeyStateTable& keys, KeyboardQuery& query) {
    return keys.isHeld(VK_LSHIFT_CODE) || keys.isHeld(VK_RSHIFT_CODE) || keys.isHeld(physicalKey(MAKE_CODE_LEFT_SHIFT)) ||
           keys.isHeld(physicalKey(MAKE_CODE_RIGHT_SHIFT)) || query.systemShiftDown();
}

std::wstring keyLabel(int vk, const wchar_t* fixedLabel, bool labelShift, KeyboardQuery& query) {
    if (vk == VK_LSHIFT_CODE || vk == VK_RSHIFT_CODE) return L"Shift";
    if (vk == VK_SPACE_CODE) return L"Space";
    // A control character (Enter's, Tab's) is no label.
    const std::optional<wchar_t> c = characterWithLabelState(vk, labelShift, query);
    if (c && *c >= L' ') return std::wstring(1, *c);
    return fixedText(fixedLabel);
}

std::wstring keyCapLabel(const KeyCap& key, bool labelShift, KeyboardQuery& query) {
    if (key.kind != KeyKind::Typed) return fixedText(key.label.data());
    const int vk = isPhysicalKey(key.vk) ? query.virtualKeyOf(scanCodeOfKey(key.vk)) : key.vk;
    return keyLabel(vk, key.label.data(), labelShift, query);
}

// Punctuation keys carry different codes from one layout to the next, so they are matched by
// the character they type; letters and digits keep their code whatever they type.
int canonicalKey(int makeCode, int vk, bool labelShift, KeyboardQuery& query, const KeyboardLayout& layout) {
    if (vk == VK_SHIFT_GENERIC) {
        if (makeCode == MAKE_CODE_LEFT_SHIFT) return VK_LSHIFT_CODE;
        if (makeCode == MAKE_CODE_RIGHT_SHIFT) return VK_RSHIFT_CODE;
        return VK_SHIFT_GENERIC;
    }
    if (!isMatchedByCharacter(vk)) return vk;
    std::optional<wchar_t> c = characterWithLabelState(vk, labelShift, query);
    if (!c) return vk;
    return keyForCharacter(*c, layout).value_or(vk);
}
