#include "settings/ini_encoding.h"

#include <cstdint>

namespace {

constexpr bool WIDE_IS_UTF16 = sizeof(wchar_t) == 2;

bool isHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendCodePoint(std::wstring& out, std::uint32_t cp) {
    if constexpr (WIDE_IS_UTF16) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

// Where wchar_t holds a whole code point, a surrogate pair becomes one character, so that
// text read from UTF-16 compares equal to the same text read from UTF-8; a lone surrogate
// stays as it is.
std::wstring decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out;
    out.reserve(bytes.size() / 2);
    std::uint32_t pendingHigh = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const std::uint32_t unit = lo | (hi << 8);
        if constexpr (!WIDE_IS_UTF16) {
            if (pendingHigh && isLowSurrogate(unit)) {
                out.back() = static_cast<wchar_t>(0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                pendingHigh = 0;
                continue;
            }
            pendingHigh = isHighSurrogate(unit) ? unit : 0;
        }
        out += static_cast<wchar_t>(unit);
    }
    return out;
}

// How many continuation bytes follow a lead byte; -1 for a byte that cannot start a sequence.
int utf8TrailCount(unsigned char lead) {
    if (lead < 0x80) return 0;
    if (lead < 0xC2) return -1;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF5) return 3;
    return -1;
}

struct Utf8Sequence {
    std::uint32_t codePoint = 0;
    std::size_t length = 1;
    bool valid = false;
};

// The sequence that starts at bytes[i]; an invalid one counts as its first byte alone.
Utf8Sequence readUtf8Sequence(std::string_view bytes, std::size_t i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = utf8TrailCount(lead);
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= bytes.size()) return {};
    std::uint32_t cp = extra == 0 ? lead : extra == 1 ? lead & 0x1Fu : extra == 2 ? lead & 0x0Fu : lead & 0x07u;
    for (int k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) return {};
        cp = (cp << 6) | (next & 0x3Fu);
    }
    const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
    return {cp, static_cast<std::size_t>(extra) + 1, true};
}

std::wstring decodeUtf8(std::string_view bytes) {
    constexpr std::uint32_t REPLACEMENT = 0xFFFD;
    std::wstring out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = readUtf8Sequence(bytes, i);
        appendCodePoint(out, sequence.valid ? sequence.codePoint : REPLACEMENT);
        i += sequence.length;
    }
    return out;
}

bool isWellFormedUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Sequence sequence = readUtf8Sequence(bytes, i);
        if (!sequence.valid) return false;
        i += sequence.length;
    }
    return true;
}

bool startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

bool isAscii(std::string_view bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

void appendUnit(std::string& out, std::uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

enum class UnmarkedUtf16 { No, LittleEndian, BigEndian };

// Whether the two units of `pair` (four bytes) stand at a unit boundary of the bytes.
bool holdsUnitsAt(std::string_view bytes, std::string_view pair) {
    for (std::size_t at = bytes.find(pair); at != std::string_view::npos; at = bytes.find(pair, at + 1))
        if (at % 2 == 0) return true;
    return false;
}

// UTF-16 without a byte-order mark, as some editors and scripts write it. ANSI and UTF-8 text
// never hold a zero byte, while UTF-16 holds one in every unit of an ASCII character: zero
// bytes on one side of the units, at least twice as many as on the other, make UTF-16 in
// that order when its CR LF is there too, or when a quarter of the units hold one. A stray
// NUL in ANSI text makes neither.
UnmarkedUtf16 unmarkedUtf16(std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    std::size_t zeroFirst = 0;   // the first byte of a unit is zero
    std::size_t zeroSecond = 0;  // the second one is
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        zeroFirst += bytes[i] == '\0';
        zeroSecond += bytes[i + 1] == '\0';
    }
    if (zeroSecond > 2 * zeroFirst && (zeroSecond * 4 >= units || holdsUnitsAt(bytes, std::string_view("\r\0\n\0", 4))))
        return UnmarkedUtf16::LittleEndian;
    if (zeroFirst > 2 * zeroSecond && (zeroFirst * 4 >= units || holdsUnitsAt(bytes, std::string_view("\0\r\0\n", 4))))
        return UnmarkedUtf16::BigEndian;
    return UnmarkedUtf16::No;
}

}  // namespace

std::wstring decodeLatin1(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring decodeIniBytes(std::string_view bytes, const AnsiDecoder& ansi) {
    if (startsWith(bytes, "\xFF\xFE")) return decodeUtf16(bytes.substr(2), false);
    if (startsWith(bytes, "\xFE\xFF")) return decodeUtf16(bytes.substr(2), true);
    if (startsWith(bytes, "\xEF\xBB\xBF")) return decodeUtf8(bytes.substr(3));
    switch (unmarkedUtf16(bytes)) {
    case UnmarkedUtf16::LittleEndian: return decodeUtf16(bytes, false);
    case UnmarkedUtf16::BigEndian: return decodeUtf16(bytes, true);
    case UnmarkedUtf16::No: break;
    }
    if (!isAscii(bytes) && isWellFormedUtf8(bytes)) return decodeUtf8(bytes);
    return ansi(bytes);
}

std::string encodeIniText(std::wstring_view text) {
    std::string out("\xFF\xFE", 2);
    out.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        const auto cp = static_cast<std::uint32_t>(c);
        if (!WIDE_IS_UTF16 && cp > 0xFFFF) {
            appendUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
            appendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            appendUnit(out, cp);
        }
    }
    return out;
}
