#include "settings/settings_file.h"

#include <string>

#include "settings/value_text.h"

namespace {

const std::wstring MAIN = L"main";
const std::wstring COLOR = L"color";

// The program reads strings into a 64-character buffer: longer values are cut to 63.
constexpr std::size_t READ_STRING_LIMIT = 63;

// The platform's integer read: the default for a missing or empty value, else its number.
int readInt(const IniDocument& doc, const std::wstring& section, const std::wstring& key, int fallback) {
    const std::optional<std::wstring> text = iniValue(doc, section, key);
    if (!text || text->empty()) return fallback;
    return parseDecimal(*text);
}

bool readBool(const IniDocument& doc, const std::wstring& key, bool fallback) {
    return readInt(doc, MAIN, key, fallback ? 1 : 0) != 0;
}

// The value cut as the fixed read buffer cuts it; empty when the key is missing.
std::wstring readLimitedString(const IniDocument& doc, const std::wstring& section, const std::wstring& key) {
    std::wstring text = iniValue(doc, section, key).value_or(L"");
    if (text.size() > READ_STRING_LIMIT) text.resize(READ_STRING_LIMIT);
    return text;
}

void readScale(AppSettings& s, const IniDocument& doc) {
    const std::wstring text = readLimitedString(doc, MAIN, L"scale");
    if (!text.empty()) s.scale = parseDecimal(text) / 1000.0;
    s.scale = clampScale(s.scale);
}

void readColor(const IniDocument& doc, const std::wstring& key, Color& color) {
    const std::wstring text = readLimitedString(doc, COLOR, key);
    if (!text.empty()) color = colorFromHexText(text);
}

struct ColorKey {
    const wchar_t* key;
    Color KeyColors::*field;
};

// The colour keys in file order; `shadow` names the shadow colour in this section.
constexpr ColorKey COLOR_KEYS[] = {
    {L"textN", &KeyColors::textN}, {L"textA", &KeyColors::textA}, {L"fillN", &KeyColors::fillN},
    {L"fillA", &KeyColors::fillA}, {L"lineN", &KeyColors::lineN}, {L"lineA", &KeyColors::lineA},
    {L"shadow", &KeyColors::shadowColor},
};

void writeInt(IniDocument& doc, const std::wstring& key, int value) { setIniValue(doc, MAIN, key, std::to_wstring(value)); }

}  // namespace

std::wstring resolveSettingsPath(std::wstring_view exePath) {
    const std::size_t separator = exePath.find_last_of(L"\\/");
    if (separator == std::wstring_view::npos) return {};
    return std::wstring(exePath.substr(0, separator + 1)) + L"settings.ini";
}

void readSettings(AppSettings& s, const IniDocument& doc) {
    s.style = readInt(doc, MAIN, L"style", s.style);
    s.alpha = static_cast<unsigned char>(readInt(doc, MAIN, L"alpha", s.alpha) & 0xFF);
    s.topmost = readBool(doc, L"topmost", s.topmost);
    s.clickthru = readBool(doc, L"clickthru", s.clickthru);
    s.shadow = readBool(doc, L"shadow", s.shadow);
    s.aa = readBool(doc, L"aa", s.aa);
    s.rendermode = readInt(doc, MAIN, L"rendermode", s.rendermode);
    s.soundOn = readBool(doc, L"soundOn", s.soundOn);
    s.soundSel = readInt(doc, MAIN, L"soundSel", s.soundSel);
    // Muting is off unless the file turns it on, whatever the record held.
    s.autoMuteSys = readBool(doc, L"autoMuteSys", false);
    readScale(s, doc);
    s.layout = readInt(doc, MAIN, L"layout", s.layout);
    for (const ColorKey& c : COLOR_KEYS) readColor(doc, c.key, s.colors.*c.field);
}

void writeSettings(const AppSettings& s, IniDocument& doc, WindowPosition position) {
    writeInt(doc, L"style", s.style);
    writeInt(doc, L"alpha", s.alpha);
    writeInt(doc, L"topmost", s.topmost);
    writeInt(doc, L"clickthru", s.clickthru);
    writeInt(doc, L"shadow", s.shadow);
    writeInt(doc, L"aa", s.aa);
    writeInt(doc, L"rendermode", s.rendermode);
    writeInt(doc, L"soundOn", s.soundOn);
    writeInt(doc, L"soundSel", s.soundSel);
    writeInt(doc, L"autoMuteSys", s.autoMuteSys);
    setIniValue(doc, MAIN, L"scale", scaleToText(s.scale));
    writeInt(doc, L"left", position.left);
    writeInt(doc, L"top", position.top);
    writeInt(doc, L"layout", s.layout);
    for (const ColorKey& c : COLOR_KEYS) setIniValue(doc, COLOR, c.key, colorToHexText(s.colors.*c.field));
}

WindowPosition readSavedPosition(const IniDocument& doc) {
    return {readInt(doc, MAIN, L"left", POSITION_DEFAULT), readInt(doc, MAIN, L"top", POSITION_DEFAULT)};
}

namespace {

// A read goes ahead when the lock isn't free in time: the file is only ever replaced whole,
// so it still finds one whole file.
std::optional<IniDocument> readForLoad(SettingsStorage& storage) {
    SettingsLock lock(storage);
    return readSettingsDocument(storage);
}

}  // namespace

void loadSettings(AppSettings& s, SettingsStorage& storage) {
    if (const std::optional<IniDocument> doc = readForLoad(storage)) readSettings(s, *doc);
}

WindowPosition readSavedPosition(SettingsStorage& storage) {
    const std::optional<IniDocument> doc = readForLoad(storage);
    return doc ? readSavedPosition(*doc) : WindowPosition{};
}

bool saveSettings(const AppSettings& s, SettingsStorage& storage, WindowPosition position) {
    SettingsLock lock(storage);
    if (!lock.held()) return false;
    const std::optional<IniDocument> asRead = readSettingsDocument(storage);
    if (!asRead) return false;
    IniDocument edited = *asRead;
    writeSettings(s, edited, position);
    return writeSettingsDocument(storage, *asRead, edited);
}
