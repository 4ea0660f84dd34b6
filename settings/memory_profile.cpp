#include "settings/memory_profile.h"

#include <algorithm>

#include "settings/ini_text.h"

namespace {

IniSection* firstSectionNamed(IniDocument& doc, std::wstring_view name) {
    for (IniSection& section : doc)
        if (isIniSectionNamed(section, name)) return &section;
    return nullptr;
}

// A value enclosed in a matching pair of quotes is read without them.
std::wstring withoutEnclosingQuotes(const std::wstring& value) {
    const bool quoted = value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

bool isComment(const IniLine& line) { return !line.name.empty() && line.name.front() == L';'; }

}  // namespace

MemoryProfile::MemoryProfile(const std::string& fileBytes) : content(decodeIniBytes(fileBytes)) {}

std::optional<std::wstring> MemoryProfile::readString(const std::wstring& section, const std::wstring& key) {
    IniDocument doc = parseIni(content);
    const IniSection* found = firstSectionNamed(doc, section);
    if (!found) return std::nullopt;
    const std::wstring_view wanted = trimIniBlanks(key);
    for (const IniLine& line : found->lines)
        if (line.value && sameIniName(line.name, wanted)) return withoutEnclosingQuotes(*line.value);
    return std::nullopt;
}

bool MemoryProfile::writeString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!writable) return false;
    IniDocument doc = parseIni(content);
    IniSection* target = firstSectionNamed(doc, section);
    if (!target) {
        doc.push_back(IniSection{std::wstring(trimIniBlanks(section)), true, {}});
        target = &doc.back();
    }
    const std::wstring_view name = trimIniBlanks(key);
    auto line = std::find_if(target->lines.begin(), target->lines.end(),
                             [&](const IniLine& l) { return sameIniName(l.name, name); });
    if (line != target->lines.end())
        line->value = value;
    else
        target->lines.push_back(IniLine{std::wstring(name), value});
    content = formatIni(doc);
    return true;
}

bool MemoryProfile::deleteSection(const std::wstring& section) {
    if (!writable) return false;
    IniDocument doc = parseIni(content);
    const auto removed = std::erase_if(doc, [&](const IniSection& s) { return isIniSectionNamed(s, section); });
    if (removed > 0) content = formatIni(doc);
    return true;
}

std::vector<ProfileEntry> MemoryProfile::readSection(const std::wstring& section) {
    IniDocument doc = parseIni(content);
    std::vector<ProfileEntry> entries;
    const IniSection* found = firstSectionNamed(doc, section);
    if (!found) return entries;
    for (const IniLine& line : found->lines)
        if (line.value && !isComment(line)) entries.emplace_back(line.name, *line.value);
    return entries;
}
