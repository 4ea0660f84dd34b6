#include "keyboard/keyboard_layout.h"

#include <algorithm>
#include <initializer_list>

#include "keyboard/virtual_keys.h"

namespace {

struct KeySpec {
    const wchar_t* text;
    int vk;
};

// Places keys left to right and tracks how far they reach.
class RowBuilder {
public:
    RowBuilder(KeyboardLayout& layout, const LayoutMetrics& m) : layout_(layout), m_(m) {}

    void startRow(int y) { y_ = y; }
    void moveTo(int x) { x_ = x; }

    // Every key advances by one unit, whatever its width: the two-unit left Shift ends
    // exactly where the key after two one-unit keys would begin.
    void add(const KeySpec& entry, int units = 1) {
        KeyCap key;
        key.vk = entry.vk;
        key.rect = {x_, y_, x_ + units * m_.keyWidth + (units - 1) * m_.keyGap, y_ + m_.keyHeight};
        copyLabel(entry.text, key.label);
        layout_.push_back(key);
        maxRight_ = std::max(maxRight_, key.rect.right);
        maxBottom_ = std::max(maxBottom_, key.rect.bottom);
        x_ += m_.keyWidth + m_.keyGap;
    }

    void addAll(std::initializer_list<KeySpec> entries) {
        for (const KeySpec& entry : entries) add(entry);
    }

    int maxRight() const { return maxRight_; }
    int maxBottom() const { return maxBottom_; }

private:
    static void copyLabel(const wchar_t* text, std::array<wchar_t, KEY_LABEL_CAPACITY>& label) {
        label.fill(L'\0');
        for (int i = 0; i < KEY_LABEL_CAPACITY - 1 && text[i] != L'\0'; ++i) label[i] = text[i];
    }

    KeyboardLayout& layout_;
    const LayoutMetrics& m_;
    int x_ = 0;
    int y_ = 0;
    int maxRight_ = 0;
    int maxBottom_ = 0;
};

void addDigitRow(RowBuilder& row, const LayoutMetrics& m) {
    row.moveTo(m.marginX);
    row.addAll({{L"1", '1'}, {L"2", '2'}, {L"3", '3'}, {L"4", '4'}, {L"5", '5'},
                {L"6", '6'}, {L"7", '7'}, {L"8", '8'}, {L"9", '9'}, {L"0", '0'}});
    row.add({L"\u30FC", VK_OEM_MINUS_CODE});
}

void addUpperLetterRow(RowBuilder& row, const LayoutMetrics& m) {
    row.moveTo(m.marginX + m.keyWidth / 2);
    row.addAll({{L"Q", 'Q'}, {L"W", 'W'}, {L"E", 'E'}, {L"R", 'R'}, {L"T", 'T'},
                {L"Y", 'Y'}, {L"U", 'U'}, {L"I", 'I'}, {L"O", 'O'}, {L"P", 'P'}});
    row.add({L"@", VK_OEM_3_CODE});
}

void addHomeRow(RowBuilder& row, const LayoutMetrics& m) {
    row.moveTo(m.marginX + m.keyWidth);
    row.addAll({{L"A", 'A'}, {L"S", 'S'}, {L"D", 'D'}, {L"F", 'F'}, {L"G", 'G'},
                {L"H", 'H'}, {L"J", 'J'}, {L"K", 'K'}, {L"L", 'L'}});
    row.addAll({{L";", VK_OEM_1_CODE}, {L":", VK_OEM_7_CODE}});
}

void addLowerLetterRow(RowBuilder& row, const LayoutMetrics& m) {
    row.moveTo(m.marginX);
    row.add({L"Shift", VK_LSHIFT_CODE}, 2);
    row.moveTo(m.marginX + 2 * (m.keyWidth + m.keyGap));
    row.addAll({{L"Z", 'Z'}, {L"X", 'X'}, {L"C", 'C'}, {L"V", 'V'}, {L"B", 'B'}, {L"N", 'N'}, {L"M", 'M'}});
    row.addAll({{L",", VK_OEM_COMMA_CODE}, {L".", VK_OEM_PERIOD_CODE}, {L"/", VK_OEM_2_CODE}});
    row.add({L"Shift", VK_RSHIFT_CODE}, 2);
}

void addSpaceRow(RowBuilder& row, const LayoutMetrics& m) {
    row.moveTo(m.marginX + 2 * m.keyWidth);
    row.add({L"Space", VK_SPACE_CODE}, 7);
}

}  // namespace

Size buildLayout(KeyboardLayout& layout, const LayoutMetrics& m, double scale) {
    layout.clear();
    RowBuilder row(layout, m);
    const int rowStep = m.rowGap + m.keyHeight;
    int y = m.marginY;
    for (auto addRow : {addDigitRow, addUpperLetterRow, addHomeRow, addLowerLetterRow, addSpaceRow}) {
        row.startRow(y);
        addRow(row, m);
        y += rowStep;
    }
    return {row.maxRight() + m.keyGap + m.marginX + speedPanelWidth(scale), row.maxBottom() + m.marginY};
}

Size windowSizeForScale(double scale) {
    LayoutMetrics m;
    updateMetrics(m, scale);
    KeyboardLayout layout;
    return buildLayout(layout, m, scale);
}

bool isDisplayedKey(int vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return true;
    switch (vk) {
    case VK_SPACE_CODE:
    case VK_LSHIFT_CODE:
    case VK_RSHIFT_CODE:
    case VK_OEM_1_CODE:
    case VK_OEM_COMMA_CODE:
    case VK_OEM_MINUS_CODE:
    case VK_OEM_PERIOD_CODE:
    case VK_OEM_2_CODE:
    case VK_OEM_3_CODE:
    case VK_OEM_7_CODE:
        return true;
    default:
        return false;
    }
}

const KeyCap* findKey(const KeyboardLayout& layout, int vk) {
    auto it = std::find_if(layout.begin(), layout.end(), [vk](const KeyCap& key) { return key.vk == vk; });
    return it == layout.end() ? nullptr : &*it;
}
