#pragma once
// Keyboard queries that type like a chosen layout, for tests of labels and key mapping.
#include <map>
#include <optional>
#include <set>

#include "keyboard/keyboard_query.h"

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

// United States (QWERTY).
inline FakeKeyboardQuery usLayout() {
    FakeKeyboardQuery q;
    addLettersAndSpace(q);
    q.addRow(L"1234567890", L"!@#$%^&*()", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    q.addRow(L";=,-./`[\\]'", L":+<_>?~{|}\"", {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE});
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
    return q;
}

// Japanese (JIS 106/109): ":" and "*" share a key, "=" is Shift with "-", "@" stands alone.
inline FakeKeyboardQuery jisLayout() {
    FakeKeyboardQuery q;
    addLettersAndSpace(q);
    q.addRow(L"1234567890", L"!\"#$%&'()\0", {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'});
    q.addRow(L":;,-./@[\\]^\\", L"*+<=>?`{|}~_", {0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xE2});
    q.layout = 0xE0010411;  // with the Japanese input method
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

    // Installs `query` under its own layout id and returns that id.
    std::uintptr_t install(const FakeKeyboardQuery& query) {
        layouts[query.layout] = query;
        return query.layout;
    }
};
