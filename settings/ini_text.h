#pragma once
// Private-profile (INI) text, parsed and written back the way the platform's profile
// functions treat a file: case-insensitive names, white space around names and values
// trimmed, the first of duplicate sections and keys found on a read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IniLine {
    std::wstring name;
    // None for a line without '=': such a line is kept but holds no value.
    std::optional<std::wstring> value;
};

struct IniSection {
    std::wstring name;
    // False only for the lines that stand before the first section header.
    bool headed = true;
    std::vector<IniLine> lines;
};

using IniDocument = std::vector<IniSection>;

IniDocument parseIni(std::wstring_view text);
// One "[name]" line per section and one "name=value" line per key, each ended by CR LF.
std::wstring formatIni(const IniDocument& doc);

// File bytes as the profile functions decode them: UTF-16 after its byte-order mark, UTF-8
// after its mark, otherwise one character per byte (the ANSI code page, taken as Latin-1).
std::wstring decodeIniBytes(std::string_view bytes);

bool sameIniName(std::wstring_view a, std::wstring_view b);
std::wstring_view trimIniBlanks(std::wstring_view text);

// The sections a name refers to: never the unnamed lines before the first header.
bool isIniSectionNamed(const IniSection& section, std::wstring_view name);
