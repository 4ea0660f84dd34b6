#include "settings/ini_document.h"

#include <algorithm>
#include <set>

namespace {

constexpr wchar_t BYTE_ORDER_MARK = 0xFEFF;

wchar_t foldCase(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// "[name]" up to the last ']' of the line, whatever follows it.
bool isSectionHeader(std::wstring_view trimmed) {
    return trimmed.front() == L'[' && trimmed.rfind(L']') != std::wstring_view::npos;
}

bool isSectionNamed(const IniLine& line, std::wstring_view name) {
    return line.kind == IniLineKind::Section && !line.name.empty() && sameIniName(line.name, trimIniBlanks(name));
}

struct LineRange {
    std::size_t header;
    std::size_t end;  // the next header, or the end of the file
};

std::size_t sectionEnd(const IniDocument& doc, std::size_t header) {
    std::size_t end = header + 1;
    while (end < doc.lines.size() && doc.lines[end].kind != IniLineKind::Section) ++end;
    return end;
}

std::vector<LineRange> sectionsNamed(const IniDocument& doc, std::wstring_view name) {
    std::vector<LineRange> ranges;
    for (std::size_t i = 0; i < doc.lines.size(); ++i)
        if (isSectionNamed(doc.lines[i], name)) ranges.push_back({i, sectionEnd(doc, i)});
    return ranges;
}

std::optional<LineRange> firstSectionNamed(const IniDocument& doc, std::wstring_view name) {
    for (std::size_t i = 0; i < doc.lines.size(); ++i)
        if (isSectionNamed(doc.lines[i], name)) return LineRange{i, sectionEnd(doc, i)};
    return std::nullopt;
}

std::optional<std::size_t> keyLineIn(const IniDocument& doc, LineRange section, std::wstring_view key) {
    const std::wstring_view wanted = trimIniBlanks(key);
    for (std::size_t i = section.header + 1; i < section.end; ++i)
        if (doc.lines[i].kind == IniLineKind::Key && sameIniName(doc.lines[i].name, wanted)) return i;
    return std::nullopt;
}

// A value enclosed in a matching pair of quotes is read without them.
std::wstring withoutEnclosingQuotes(const std::wstring& value) {
    const bool quoted = value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                        value.back() == value.front();
    return quoted ? value.substr(1, value.size() - 2) : value;
}

// The line with a new value, keeping how the user laid out everything before it.
std::wstring withValue(const std::wstring& text, std::wstring_view value) {
    const std::size_t equals = text.find(L'=');
    std::size_t valueStart = equals + 1;
    while (valueStart < text.size() && isIniBlank(text[valueStart])) ++valueStart;
    if (valueStart == text.size()) valueStart = equals + 1;
    return text.substr(0, valueStart) + std::wstring(value);
}

// Where a new key joins a section: after its last line that says something.
std::size_t insertionPoint(const IniDocument& doc, LineRange section) {
    std::size_t at = section.header + 1;
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const IniLineKind kind = doc.lines[i].kind;
        if (kind == IniLineKind::Key || kind == IniLineKind::Other) at = i + 1;
    }
    return at;
}

std::wstring keyLineText(std::wstring_view key, std::wstring_view value) {
    return std::wstring(trimIniBlanks(key)) + L"=" + std::wstring(value);
}

}  // namespace

// A byte-order mark left inside the text where two files were joined is as invisible as a
// space, and is taken as one.
bool isIniBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A || c == BYTE_ORDER_MARK; }

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

std::wstring foldIniName(std::wstring_view name) {
    std::wstring folded(trimIniBlanks(name));
    std::transform(folded.begin(), folded.end(), folded.begin(), foldCase);
    return folded;
}

IniLine makeIniLine(std::wstring text) {
    IniLine line;
    const std::wstring_view trimmed = trimIniBlanks(text);
    if (trimmed.empty()) {
        line.kind = IniLineKind::Blank;
    } else if (trimmed.front() == L';') {
        line.kind = IniLineKind::Comment;
    } else if (isSectionHeader(trimmed)) {
        line.kind = IniLineKind::Section;
        line.name = trimIniBlanks(trimmed.substr(1, trimmed.rfind(L']') - 1));
    } else if (const std::size_t equals = trimmed.find(L'='); equals != std::wstring_view::npos) {
        line.kind = IniLineKind::Key;
        line.name = trimIniBlanks(trimmed.substr(0, equals));
        line.value = trimIniBlanks(trimmed.substr(equals + 1));
    } else {
        line.kind = IniLineKind::Other;
    }
    line.text = std::move(text);
    return line;
}

IniDocument parseIni(std::wstring_view text) {
    IniDocument doc;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of(L"\r\n");
        doc.lines.push_back(makeIniLine(std::wstring(text.substr(0, end))));
        if (end == std::wstring_view::npos) break;
        const bool crlf = text[end] == L'\r' && end + 1 < text.size() && text[end + 1] == L'\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return doc;
}

std::wstring formatIni(const IniDocument& doc) {
    std::size_t size = 0;
    for (const IniLine& line : doc.lines) size += line.text.size() + 2;
    std::wstring text;
    text.reserve(size);
    for (const IniLine& line : doc.lines) {
        text += line.text;
        text += L"\r\n";
    }
    return text;
}

std::optional<std::wstring> iniValue(const IniDocument& doc, std::wstring_view section, std::wstring_view key) {
    const std::optional<LineRange> found = firstSectionNamed(doc, section);
    if (!found) return std::nullopt;
    const std::optional<std::size_t> line = keyLineIn(doc, *found, key);
    if (!line) return std::nullopt;
    return withoutEnclosingQuotes(doc.lines[*line].value);
}

std::vector<IniEntry> iniSectionEntries(const IniDocument& doc, std::wstring_view section) {
    std::vector<IniEntry> entries;
    const std::optional<LineRange> found = firstSectionNamed(doc, section);
    if (!found) return entries;
    for (std::size_t i = found->header + 1; i < found->end; ++i)
        if (doc.lines[i].kind == IniLineKind::Key) entries.push_back({doc.lines[i].name, doc.lines[i].value});
    return entries;
}

std::vector<IniEntry> iniEntriesOfEverySection(const IniDocument& doc, std::wstring_view section) {
    std::vector<IniEntry> entries;
    std::set<std::wstring> seen;
    for (const LineRange range : sectionsNamed(doc, section))
        for (std::size_t i = range.header + 1; i < range.end; ++i) {
            const IniLine& line = doc.lines[i];
            if (line.kind == IniLineKind::Key && seen.insert(foldIniName(line.name)).second)
                entries.push_back({line.name, line.value});
        }
    return entries;
}

void setIniValue(IniDocument& doc, std::wstring_view section, std::wstring_view key, std::wstring_view value) {
    const std::optional<LineRange> found = firstSectionNamed(doc, section);
    if (!found) {
        doc.lines.push_back(makeIniLine(L"[" + std::wstring(trimIniBlanks(section)) + L"]"));
        doc.lines.push_back(makeIniLine(keyLineText(key, value)));
        return;
    }
    if (const std::optional<std::size_t> line = keyLineIn(doc, *found, key)) {
        IniLine& existing = doc.lines[*line];
        if (existing.value != value) existing = makeIniLine(withValue(existing.text, value));
        return;
    }
    const auto at = static_cast<std::ptrdiff_t>(insertionPoint(doc, *found));
    doc.lines.insert(doc.lines.begin() + at, makeIniLine(keyLineText(key, value)));
}

void removeIniKeys(IniDocument& doc, std::wstring_view section, const std::vector<std::wstring>& keys) {
    std::set<std::wstring> removed;
    for (const std::wstring& key : keys) removed.insert(foldIniName(key));
    std::vector<bool> drop(doc.lines.size(), false);
    for (const LineRange range : sectionsNamed(doc, section))
        for (std::size_t i = range.header + 1; i < range.end; ++i)
            drop[i] = doc.lines[i].kind == IniLineKind::Key && removed.count(foldIniName(doc.lines[i].name)) != 0;
    std::vector<IniLine> kept;
    kept.reserve(doc.lines.size());
    for (std::size_t i = 0; i < doc.lines.size(); ++i)
        if (!drop[i]) kept.push_back(std::move(doc.lines[i]));
    doc.lines = std::move(kept);
}

void removeEmptyIniSections(IniDocument& doc, std::wstring_view section) {
    const std::vector<LineRange> ranges = sectionsNamed(doc, section);
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const auto first = doc.lines.begin() + static_cast<std::ptrdiff_t>(range->header);
        const auto last = doc.lines.begin() + static_cast<std::ptrdiff_t>(range->end);
        const bool holdsLine = std::any_of(first + 1, last, [](const IniLine& l) { return l.kind != IniLineKind::Blank; });
        if (!holdsLine) doc.lines.erase(first, last);
    }
}
