#include "settings/value_text.h"

#include <cstdint>
#include <limits>

namespace {

bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

std::size_t skipBlanks(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return i;
}

int hexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

std::int32_t parseDecimal(std::wstring_view text) {
    std::size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    // Accumulated as a magnitude and capped one past INT32_MAX, so INT32_MIN is reachable.
    constexpr std::int64_t CAP = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > CAP) magnitude = CAP;
    }
    if (negative) return static_cast<std::int32_t>(-magnitude);
    return static_cast<std::int32_t>(magnitude >= CAP ? CAP - 1 : magnitude);
}

std::uint32_t parseHex(std::wstring_view text) {
    std::size_t i = skipBlanks(text);
    if (i + 1 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X')) i += 2;
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigitValue(text[i]);
        if (digit < 0) break;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu) return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(value);
}

Color colorFromHexText(std::wstring_view text) {
    const std::uint32_t v = parseHex(text);
    return rgb(v >> 16, v >> 8, v);
}

std::wstring colorToHexText(Color c) {
    static constexpr wchar_t DIGITS[] = L"0123456789ABCDEF";
    std::wstring text;
    for (unsigned byte : {redOf(c), greenOf(c), blueOf(c)}) {
        text += DIGITS[byte >> 4];
        text += DIGITS[byte & 0xF];
    }
    return text;
}

std::wstring scaleToText(double scale) {
    return std::to_wstring(static_cast<int>(scale * 1000 + 0.5));
}
