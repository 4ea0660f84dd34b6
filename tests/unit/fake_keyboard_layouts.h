#pragma once
// Keyboard queries that type like a chosen layout, for tests of labels and key mapping.
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "keyboard/keyboard_layout.h"
#include "keyboard/keyboard_query.h"
#include "keyboard/layout_metrics.h"

struct KeyCharacters {
    wchar_t normal = 0;   // 0: the key types nothing
    wchar_t shifted = 0;
};

class FakeKeyboardQuery : public KeyboardQuery {
public:
    std::map<int, KeyCharacters> keys;
    std::set<int> deadKeys;
    bool capsLock = false;
    bool systemShift = false;
    std::uintptr_t layout = 0x04090409;
    int characterQueries = 0;
    std::map<int, int> virtualKeys;  // by scan code, 0xE0 in the high byte for an E0 key
    bool japanese = false;

    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool caps) override {
        ++characterQueries;
        if (deadKeys.count(vk) != 0) return std::nullopt;
        auto it = keys.find(vk);
        if (it == keys.end()) return std::nullopt;
        const bool isLetter = vk >= 'A' && vk <= 'Z';
        const bool upper = isLetter && caps ? !shift : shift;
        const wchar_t c = upper ? it->second.shifted : it->second.normal;
        if (c == 0) return std::nullopt;
        return c;
    }
    bool capsLockOn() override { return capsLock; }
    std::uintptr_t layoutId() override { return layout; }
    bool systemShiftDown() override { return systemShift; }
    int virtualKeyOf(int scanCode) override {
        auto it = virtualKeys.find(scanCode);
        return it == virtualKeys.end() ? 0 : it->second;
    }
    // The first scan code that gives `vk`, as the platform prefers the key without E0.
    int scanCodeOf(int vk) override {
        for (const auto& [scan, key] : virtualKeys)
            if (key == vk) return scan;
        return 0;
    }
    bool japaneseKeyboard() override { return japanese; }

    void addRow(const wchar_t* normal, const wchar_t* shifted, std::initializer_list<int> vks) {
        int i = 0;
        for (int vk : vks) {
            keys[vk] = {normal[i], shifted[i]};
            ++i;
        }
    }
};

inline void addLettersAndSpace(FakeKeyboardQuery& q) {
    for (int vk = 'A'; vk <= 'Z'; ++vk) q.keys[vk] = {static_cast<wchar_t>(vk - 'A' + 'a'), static_cast<wchar_t>(vk)};
    q.keys[0x20] = {L' ', L' '};
}

// The virtual keys of `vks` at the scan codes from `firstScanCode` on.
inline void placeKeys(FakeKeyboardQuery& q, int firstScanCode, std::initializer_list<int> vks) {
    int scan = firstScanCode;
    for (int vk : vks) q.virtualKeys[scan++] = vk;
}

// Where a US keyboard has its keys: scan codes and the virtual keys the layout gives them.
// The keypad's digits and point give the keys they stand for without Num Lock, and the E0
// keys the side-specific or grey ones.
inline void placeUsKeys(FakeKeyboardQuery& q) {
    placeKeys(q, 0x01, {0x1B, '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0xBD, 0xBB, 0x08, 0x09});
    placeKeys(q, 0x10, {'Q', 'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0xDB, 0xDD, 0x0D, 0xA2});
    placeKeys(q, 0x1E, {'A', 'S', 'D', 'F', 'G', 'H', 'J', 'K', 'L', 0xBA, 0xDE, 0xC0, 0xA0, 0xDC});
    placeKeys(q, 0x2C, {'Z', 'X', 'C', 'V', 'B', 'N', 'M', 0xBC, 0xBE, 0xBF, 0xA1, 0x6A, 0xA4, 0x20, 0x14});
    placeKeys(q, 0x3B, {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x90, 0x91});
    placeKeys(q, 0x47, {0x24, 0x26, 0x21, 0x6D, 0x25, 0x0C, 0x27, 0x6B, 0x23, 0x28, 0x22, 0x2D, 0x2E});
    placeKeys(q, 0x56, {0xE2, 0x7A, 0x7B});
    for (auto [scan, vk] : {std::pair{0xE01C, 0x0D}, {0xE01D, 0xA3}, {0xE035, 0x6F}, {0xE037, 0x2C}, {0xE038, 0xA5},
                            {0xE047, 0x24}, {0xE048, 0x26}, {0xE049, 0x21}, {0xE04B, 0x25}, {0xE04D, 0x27},
                            {0xE04F, 0x23}, {0xE050, 0x28}, {0xE051, 0x22}, {0xE052, 0x2D}, {0xE053, 0x2E},
                            {0xE05B, 0x5B}, {0xE05C, 0x5C}, {0xE05D, 0x5D}})
        q.virtualKeys[scan] = vk;
}

// United States (QWERTY).
inline FakeKeyboardQuery usLayout() {
    FakeKeyboardQuery q;
    addLettersAndSpace(q);
    q.addRow(L"1234567890", L"!@#$%^&*()", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    q.addRow(L";=,-./`[\\]'", L":+<_>?~{|}\"", {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE});
    // The key beside the left Shift, which a US keyboard lacks, types what the backslash key does.
    q.keys[0xE2] = {L'\\', L'|'};
    q.keys[0x6A] = {L'*', L'*'};
    placeUsKeys(q);
    return q;
}

// German (QWERTZ): ',' and '.' type ';' and ':' with Shift, '+' shares a key with '*', and
// the key beside the left Shift types '<' and '>'.
inline FakeKeyboardQuery germanLayout() {
    FakeKeyboardQuery q;
    addLettersAndSpace(q);
    q.addRow(L"1234567890", L"!\"\u00A7$%&/()=", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    q.addRow(L"\u00FC+,-.#\u00F6\u00DF\u00E4<", L"\u00DC*;_:'\u00D6?\u00C4>", {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDE, 0xE2});
    q.deadKeys = {0xDC, 0xDD};
    q.layout = 0x04070407;
    placeUsKeys(q);
    // Y and Z change places; the punctuation keys carry other codes than on a US keyboard.
    placeKeys(q, 0x0C, {0xDB, 0xDD});
    placeKeys(q, 0x15, {'Z'});
    placeKeys(q, 0x1A, {0xBA, 0xBB});
    placeKeys(q, 0x27, {0xC0, 0xDE, 0xDC});
    placeKeys(q, 0x2B, {0xBF, 'Y'});
    placeKeys(q, 0x35, {0xBD});
    return q;
}

// Japanese (JIS 106/109): ":" and "*" share a key, "=" is Shift with "-", "@" stands alone.
inline FakeKeyboardQuery jisLayout() {
    FakeKeyboardQuery q;
    addLettersAndSpace(q);
    q.addRow(L"1234567890", L"!\"#$%&'()\0", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    q.addRow(L":;,-./@[\\]^\\", L"*+<=>?`{|}~_", {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xE2});
    q.layout = 0xE0010411;  // with the Japanese input method
    q.japanese = true;
    placeUsKeys(q);
    placeKeys(q, 0x0C, {0xBD, 0xDE});
    placeKeys(q, 0x1A, {0xC0, 0xDB});
    placeKeys(q, 0x27, {0xBB, 0xBA, 0xF3});  // ';' ':' and 半角/全角
    placeKeys(q, 0x2B, {0xDD});
    placeKeys(q, 0x70, {0xF2});
    placeKeys(q, 0x73, {0xE2});
    placeKeys(q, 0x79, {0x1C});
    placeKeys(q, 0x7B, {0x1D});
    placeKeys(q, 0x7D, {0xDC});
    return q;
}

// Several programs with a layout each, one of them in front: what the labels and the key
// mapping see of a desktop on which every application has its own input language.
class FakeDesktop : public KeyboardQuery {
public:
    std::map<std::uintptr_t, FakeKeyboardQuery> layouts;  // by layout id
    ForegroundKeyboard foreground;
    std::uintptr_t inUse = 0;
    bool capsLock = false;
    bool systemShift = false;

    std::optional<wchar_t> keyCharacter(int vk, bool shift, bool caps) override {
        auto it = layouts.find(inUse);
        return it == layouts.end() ? std::nullopt : it->second.keyCharacter(vk, shift, caps);
    }
    bool capsLockOn() override { return capsLock; }
    std::uintptr_t layoutId() override { return inUse; }
    bool systemShiftDown() override { return systemShift; }
    ForegroundKeyboard foregroundKeyboard() override { return foreground; }
    void useLayout(std::uintptr_t layout) override { inUse = layout; }
    int virtualKeyOf(int scanCode) override {
        auto it = layouts.find(inUse);
        return it == layouts.end() ? 0 : it->second.virtualKeyOf(scanCode);
    }

    // Installs `query` under its own layout id and returns that id.
    std::uintptr_t install(const FakeKeyboardQuery& query) {
        layouts[query.layout] = query;
        return query.layout;
    }
};

// The keys of `arrangement` at scale 1, where the tests of typing press them.
inline KeyboardLayout keysAtScaleOne(const KeyArrangement& arrangement = COMPACT_KEYBOARD) {
    LayoutMetrics m;
    updateMetrics(m, 1.0);
    KeyboardLayout layout;
    buildLayout(layout, m, 1.0, arrangement);
    return layout;
}
