#include "settings/settings_file.h"

#include <string>

#include "settings/value_text.h"

namespace {

const std::wstring MAIN = L"main";
const std::wstring COLOR = L"color";

// The program reads strings into a 64-character buffer: longer values are cut to 63.
constexpr std::size_t READ_STRING_LIMIT = 63;

// The platform's integer read: the default for a missing or empty value, else its number.
int readInt(Profile& profile, const std::wstring& section, const std::wstring& key, int fallback) {
    const std::optional<std::wstring> text = profile.readString(section, key);
    if (!text || text->empty()) return fallback;
    return parseDecimal(*text);
}

bool readBool(Profile& profile, const std::wstring& key, bool fallback) {
    return readInt(profile, MAIN, key, fallback ? 1 : 0) != 0;
}

// The value cut as the fixed read buffer cuts it; empty when the key is missing.
std::wstring readLimitedString(Profile& profile, const std::wstring& section, const std::wstring& key) {
    std::wstring text = profile.readString(section, key).value_or(L"");
    if (text.size() > READ_STRING_LIMIT) text.resize(READ_STRING_LIMIT);
    return text;
}

void readScale(AppSettings& s, Profile& profile) {
    const std::wstring text = readLimitedString(profile, MAIN, L"scale");
    if (!text.empty()) s.scale = parseDecimal(text) / 1000.0;
    s.scale = clampScale(s.scale);
}

void readColor(Profile& profile, const std::wstring& key, Color& color) {
    const std::wstring text = readLimitedString(profile, COLOR, key);
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

void writeInt(Profile& profile, const std::wstring& key, int value) {
    profile.writeString(MAIN, key, std::to_wstring(value));
}

}  // namespace

std::wstring resolveSettingsPath(std::wstring_view exePath) {
    const std::size_t separator = exePath.find_last_of(L"\\/");
    const std::wstring_view folder = separator == std::wstring_view::npos ? std::wstring_view{} : exePath.substr(0, separator + 1);
    return std::wstring(folder) + L"settings.ini";
}

void loadSettings(AppSettings& s, Profile& profile) {
    s.style = readInt(profile, MAIN, L"style", s.style);
    s.alpha = static_cast<unsigned char>(readInt(profile, MAIN, L"alpha", s.alpha) & 0xFF);
    s.topmost = readBool(profile, L"topmost", s.topmost);
    s.clickthru = readBool(profile, L"clickthru", s.clickthru);
    s.shadow = readBool(profile, L"shadow", s.shadow);
    s.aa = readBool(profile, L"aa", s.aa);
    s.rendermode = readInt(profile, MAIN, L"rendermode", s.rendermode);
    s.soundOn = readBool(profile, L"soundOn", s.soundOn);
    s.soundSel = readInt(profile, MAIN, L"soundSel", s.soundSel);
    // Muting is off unless the file turns it on, whatever the record held.
    s.autoMuteSys = readBool(profile, L"autoMuteSys", false);
    readScale(s, profile);
    for (const ColorKey& c : COLOR_KEYS) readColor(profile, c.key, s.colors.*c.field);
}

void saveSettings(const AppSettings& s, Profile& profile, WindowPosition position) {
    writeInt(profile, L"style", s.style);
    writeInt(profile, L"alpha", s.alpha);
    writeInt(profile, L"topmost", s.topmost);
    writeInt(profile, L"clickthru", s.clickthru);
    writeInt(profile, L"shadow", s.shadow);
    writeInt(profile, L"aa", s.aa);
    writeInt(profile, L"rendermode", s.rendermode);
    writeInt(profile, L"soundOn", s.soundOn);
    writeInt(profile, L"soundSel", s.soundSel);
    writeInt(profile, L"autoMuteSys", s.autoMuteSys);
    profile.writeString(MAIN, L"scale", scaleToText(s.scale));
    writeInt(profile, L"left", position.left);
    writeInt(profile, L"top", position.top);
    for (const ColorKey& c : COLOR_KEYS) profile.writeString(COLOR, c.key, colorToHexText(s.colors.*c.field));
}

WindowPosition readSavedPosition(Profile& profile) {
    return {readInt(profile, MAIN, L"left", POSITION_DEFAULT), readInt(profile, MAIN, L"top", POSITION_DEFAULT)};
}
