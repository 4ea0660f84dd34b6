#pragma once
// An INI file held line by line, so that writing it back keeps every line the user wrote:
// comments, blank lines, unknown keys, other sections, repeats. It is read the way the
// platform's profile functions read a file: names are compared without regard to case,
// white space around names and values is trimmed, the first section of a name and the first
// key of a name in it are the ones found, a line that starts with ';' is a comment, and a
// lone CR or LF ends a line as CR LF does.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class IniLineKind { Blank, Comment, Section, Key, Other };

struct IniLine {
    // Exactly as in the file, without its line end.
    std::wstring text;
    IniLineKind kind = IniLineKind::Blank;
    // A section's name or a key's name, trimmed; empty for other lines.
    std::wstring name;
    // A key's value, trimmed, quotes and all.
    std::wstring value;
    friend bool operator==(const IniLine& a, const IniLine& b) { return a.text == b.text; }
};

struct IniDocument {
    std::vector<IniLine> lines;
    friend bool operator==(const IniDocument&, const IniDocument&) = default;
};

struct IniEntry {
    std::wstring name;
    std::wstring value;
    friend bool operator==(const IniEntry&, const IniEntry&) = default;
};

IniLine makeIniLine(std::wstring text);
IniDocument parseIni(std::wstring_view text);
// Every line followed by CR LF.
std::wstring formatIni(const IniDocument& doc);

// The key's value as a key read gives it: one pair of enclosing quotes removed. None when
// the first section of that name has no such key.
std::optional<std::wstring> iniValue(const IniDocument& doc, std::wstring_view section, std::wstring_view key);
// Every key of the first section of that name in file order, as a section read gives them.
std::vector<IniEntry> iniSectionEntries(const IniDocument& doc, std::wstring_view section);
// The keys of every section of that name in file order, the first key of a name only.
std::vector<IniEntry> iniEntriesOfEverySection(const IniDocument& doc, std::wstring_view section);

// Gives the key this value. Only the key's line changes; a new key goes after the last
// line of the first section of that name that is not blank or a comment, and a new section
// at the end of the file. Neither may hold a line break.
void setIniValue(IniDocument& doc, std::wstring_view section, std::wstring_view key, std::wstring_view value);
// Removes the lines of these keys from every section of that name.
void removeIniKeys(IniDocument& doc, std::wstring_view section, const std::vector<std::wstring>& keys);
// Removes every section of that name that holds nothing but blank lines, with those lines: a
// section that still holds a comment or any other text the user wrote stays.
void removeEmptyIniSections(IniDocument& doc, std::wstring_view section);

bool isIniBlank(wchar_t c);
std::wstring_view trimIniBlanks(std::wstring_view text);
bool sameIniName(std::wstring_view a, std::wstring_view b);
// The name trimmed and in one case, for looking names up.
std::wstring foldIniName(std::wstring_view name);
