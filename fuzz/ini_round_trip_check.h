#pragma once
// What must hold for the INI reader and writer, whatever bytes a file holds: writing a file
// back and reading it again gives the same document, every line the user wrote is in it, and
// an edit of one key changes only what it should. Shared by the libFuzzer target and the
// host test that replays what it found; the check returns the first breach it sees, or an
// empty text.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.h"
#include "settings/ini_encoding.h"

namespace fuzz {

// The lines of a text, split on CR LF, CR and LF alone, as any editor shows them.
inline std::vector<std::wstring> editorLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    std::wstring line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'\r' && text[i] != L'\n') {
            line += text[i];
            continue;
        }
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

inline std::vector<std::wstring> lineTexts(const IniDocument& doc) {
    std::vector<std::wstring> texts;
    for (const IniLine& line : doc.lines) texts.push_back(line.text);
    return texts;
}

inline bool readsAlike(const IniLine& a, const IniLine& b) {
    return a.text == b.text && a.kind == b.kind && a.name == b.name && a.value == b.value;
}

inline std::string checkWriteBack(const std::wstring& text, const IniDocument& doc) {
    if (lineTexts(doc) != editorLines(text)) return "reading changed or dropped a line";
    const std::wstring written = formatIni(doc);
    if (decodeIniBytes(encodeIniText(written)) != written) return "the written bytes read back as other text";
    const IniDocument again = parseIni(written);
    if (again.lines.size() != doc.lines.size()) return "written and read again, the lines changed";
    for (std::size_t i = 0; i < doc.lines.size(); ++i)
        if (!readsAlike(again.lines[i], doc.lines[i])) return "written and read again, a line reads otherwise";
    if (formatIni(again) != written) return "writing again wrote another text";
    return {};
}

// Every (section, key) a read can ask for in this document, with what it reads.
struct Lookup {
    std::wstring section;
    std::wstring key;
    std::optional<std::wstring> value;
};

inline std::vector<Lookup> everyLookup(const IniDocument& doc) {
    std::vector<Lookup> lookups;
    std::wstring section;
    for (const IniLine& line : doc.lines) {
        if (line.kind == IniLineKind::Section) section = line.name;
        if (line.kind == IniLineKind::Key && !section.empty())
            lookups.push_back({section, line.name, iniValue(doc, section, line.name)});
    }
    return lookups;
}

// A section and a key to edit, picked by the input among the document's own names.
struct Edit {
    std::wstring section = L"main";
    std::wstring key = L"scale";
    std::wstring value;
};

inline Edit editFrom(const IniDocument& doc, std::string_view bytes) {
    static const std::wstring VALUES[] = {L"1250", L"C:\\a=b==c.wav", L"x y", L"", L"\u97F3.wav"};
    Edit edit;
    const std::size_t pick = bytes.empty() ? 0 : static_cast<unsigned char>(bytes.back());
    edit.value = VALUES[pick % std::size(VALUES)];
    const std::vector<Lookup> lookups = everyLookup(doc);
    if (!lookups.empty() && pick % 7 != 0) {
        const Lookup& chosen = lookups[(pick / 7) % lookups.size()];
        edit.section = chosen.section;
        edit.key = chosen.key;
    }
    return edit;
}

// The lines of the document but those of the sections of that name that `drop` picks; the
// headers of those sections count as their lines.
template <typename Drop>
std::vector<std::wstring> linesBut(const IniDocument& doc, std::wstring_view section, Drop drop) {
    std::vector<std::wstring> kept;
    bool inSection = false;
    for (const IniLine& line : doc.lines) {
        if (line.kind == IniLineKind::Section) inSection = !line.name.empty() && sameIniName(line.name, section);
        if (!(inSection && drop(line))) kept.push_back(line.text);
    }
    return kept;
}

// Whether every section of that name holds a line that is not blank.
inline bool everySectionHoldsALine(const IniDocument& doc, std::wstring_view section) {
    bool inSection = false;
    bool holdsLine = true;
    for (const IniLine& line : doc.lines) {
        if (line.kind == IniLineKind::Section) {
            if (!holdsLine) return false;
            inSection = !line.name.empty() && sameIniName(line.name, section);
            holdsLine = !inSection;
            continue;
        }
        holdsLine = holdsLine || (inSection && line.kind != IniLineKind::Blank);
    }
    return holdsLine;
}

inline bool isOneLineEdit(const IniDocument& before, const IniDocument& after) {
    const std::size_t added = after.lines.size() - before.lines.size();
    if (after.lines.size() < before.lines.size() || added > 2) return false;
    std::size_t differing = 0;
    for (std::size_t i = 0, j = 0; i < before.lines.size(); ++j) {
        if (j >= after.lines.size()) return false;
        if (after.lines[j].text == before.lines[i].text) {
            ++i;
            continue;
        }
        ++differing;
        if (added == 0) ++i;  // replaced in place
    }
    return differing <= (added == 0 ? 1 : added);
}

inline std::string checkEdit(const IniDocument& doc, std::string_view bytes) {
    const Edit edit = editFrom(doc, bytes);
    IniDocument edited = doc;
    setIniValue(edited, edit.section, edit.key, edit.value);
    if (iniValue(edited, edit.section, edit.key) != edit.value) return "an edited key does not read its new value";
    if (!isOneLineEdit(doc, edited)) return "an edit changed more than its own line";
    for (const Lookup& lookup : everyLookup(doc)) {
        if (sameIniName(lookup.section, edit.section) && sameIniName(lookup.key, edit.key)) continue;
        if (iniValue(edited, lookup.section, lookup.key) != lookup.value) return "an edit changed what another key reads";
    }
    if (std::string breach = checkWriteBack(formatIni(edited), edited); !breach.empty()) return "edited: " + breach;

    const std::vector<std::wstring> keptByRemoval = linesBut(edited, edit.section, [&](const IniLine& line) {
        return line.kind == IniLineKind::Key && sameIniName(line.name, edit.key);
    });
    removeIniKeys(edited, edit.section, {edit.key});
    if (lineTexts(edited) != keptByRemoval) return "removing a key removed other lines";
    if (iniValue(edited, edit.section, edit.key)) return "a removed key still reads";
    const std::vector<std::wstring> otherSections = linesBut(edited, edit.section, [](const IniLine&) { return true; });
    removeEmptyIniSections(edited, edit.section);
    if (linesBut(edited, edit.section, [](const IniLine&) { return true; }) != otherSections)
        return "removing empty sections touched other sections";
    if (!everySectionHoldsALine(edited, edit.section)) return "a section of nothing but blank lines was left";
    return {};
}

inline std::string checkIniRoundTrip(std::string_view bytes) {
    const std::wstring text = decodeIniBytes(bytes);
    const IniDocument doc = parseIni(text);
    if (std::string breach = checkWriteBack(text, doc); !breach.empty()) return breach;
    return checkEdit(doc, bytes);
}

}  // namespace fuzz
