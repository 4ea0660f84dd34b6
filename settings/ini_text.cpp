#include "settings/ini_text.h"

#include <cstdint>

namespace {

// Ctrl-Z counts as white space: old editors ended text files with it.
bool isIniBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A; }

wchar_t foldCase(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

std::optional<IniSection> sectionHeader(std::wstring_view line) {
    if (line.empty() || line.front() != L'[') return std::nullopt;
    const std::size_t close = line.rfind(L']');
    if (close == std::wstring_view::npos || close == 0) return std::nullopt;
    IniSection section;
    section.name = trimIniBlanks(line.substr(1, close - 1));
    return section;
}

IniLine keyLine(std::wstring_view line) {
    const std::size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) return {std::wstring(line), std::nullopt};
    return {std::wstring(trimIniBlanks(line.substr(0, equals))),
            std::wstring(trimIniBlanks(line.substr(equals + 1)))};
}

void appendCodePoint(std::wstring& out, std::uint32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

std::wstring decodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        out += static_cast<wchar_t>(lo | (hi << 8));
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

// Malformed sequences become U+FFFD, one per offending byte.
std::wstring decodeUtf8(std::string_view bytes) {
    constexpr std::uint32_t REPLACEMENT = 0xFFFD;
    std::wstring out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int extra = utf8TrailCount(lead);
        std::uint32_t cp = extra == 0 ? lead : extra == 1 ? lead & 0x1Fu : extra == 2 ? lead & 0x0Fu : lead & 0x07u;
        bool valid = extra >= 0 && i + static_cast<std::size_t>(extra) < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        valid = valid && cp >= minimum[extra] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        appendCodePoint(out, valid ? cp : REPLACEMENT);
        i += valid ? static_cast<std::size_t>(extra) + 1 : 1;
    }
    return out;
}

bool startsWith(std::string_view bytes, std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; }

}  // namespace

std::wstring_view trimIniBlanks(std::wstring_view text) {
    while (!text.empty() && isIniBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isIniBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool sameIniName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

bool isIniSectionNamed(const IniSection& section, std::wstring_view name) {
    return section.headed && !section.name.empty() && sameIniName(section.name, trimIniBlanks(name));
}

IniDocument parseIni(std::wstring_view text) {
    IniDocument doc;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n");
        const std::wstring_view line = trimIniBlanks(text.substr(0, end));
        text.remove_prefix(end == std::wstring_view::npos ? text.size() : end + 1);
        if (line.empty()) continue;
        if (auto header = sectionHeader(line)) {
            doc.push_back(std::move(*header));
            continue;
        }
        if (doc.empty()) doc.push_back(IniSection{L"", false, {}});
        doc.back().lines.push_back(keyLine(line));
    }
    return doc;
}

std::wstring formatIni(const IniDocument& doc) {
    std::wstring text;
    for (const IniSection& section : doc) {
        if (section.headed) text += L"[" + section.name + L"]\r\n";
        for (const IniLine& line : section.lines) {
            text += line.name;
            if (line.value) text += L"=" + *line.value;
            text += L"\r\n";
        }
    }
    return text;
}

std::wstring decodeIniBytes(std::string_view bytes) {
    if (startsWith(bytes, "\xFF\xFE")) return decodeUtf16(bytes.substr(2), false);
    if (startsWith(bytes, "\xFE\xFF")) return decodeUtf16(bytes.substr(2), true);
    if (startsWith(bytes, "\xEF\xBB\xBF")) return decodeUtf8(bytes.substr(3));
    std::wstring out;
    out.reserve(bytes.size());
    for (char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}
