#include "settings/sound_scheme_registry_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/backup_owner_win32.h"
#include "settings/ini_document.h"
#include "settings/ini_encoding.h"
#include "settings/settings_storage_win32.h"
#include "settings/system_sounds.h"

namespace {

const std::wstring SCHEME = L"AppEvents\\Schemes\\Apps\\.Default";

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
    friend bool operator==(const RawValue&, const RawValue&) = default;
    friend void PrintTo(const RawValue& v, std::ostream* out) {
        *out << "type " << v.type << ", " << v.bytes.size() << " bytes";
    }
};

std::vector<BYTE> textBytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.c_str());
    return {first, first + (text.size() + 1) * sizeof(wchar_t)};
}

std::wstring eventKey(const std::wstring& event) { return SCHEME + L"\\" + event + L"\\.Current"; }

void setSound(const std::wstring& event, DWORD type, const BYTE* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, eventKey(event).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, nullptr, 0, type, data, size);
    RegCloseKey(key);
}

void setSound(const std::wstring& event, DWORD type, const std::wstring& text) {
    setSound(event, type, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// A string value without a terminator of its own. The platform adds one when the character
// after the data is NUL, so a non-NUL character follows it in memory.
void setUnterminatedSound(const std::wstring& event, const std::wstring& text) {
    const std::wstring guarded = text + L"X";
    setSound(event, REG_SZ, reinterpret_cast<const BYTE*>(guarded.c_str()), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

// The value exactly as stored: type and bytes, without the fix-ups of the string readers.
RawValue soundOf(const std::wstring& event) {
    RawValue v;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, eventKey(event).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.bytes.resize(size);
        RegQueryValueExW(key, nullptr, nullptr, &v.type, v.bytes.data(), &size);
        v.bytes.resize(size);
    }
    RegCloseKey(key);
    return v;
}

std::vector<std::wstring> schemeEvents() {
    std::vector<std::wstring> names;
    HKEY scheme = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SCHEME.c_str(), 0, KEY_READ, &scheme) != ERROR_SUCCESS) return names;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(scheme, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(scheme);
    return names;
}

std::map<std::wstring, RawValue> schemeSnapshot() {
    std::map<std::wstring, RawValue> all;
    for (const std::wstring& event : schemeEvents()) all[event] = soundOf(event);
    return all;
}

bool keyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring tempSettingsPath() {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    return std::wstring(base) + L"tavrin-sounds-" + std::to_wstring(GetCurrentProcessId()) + L".ini";
}

const std::wstring PLAIN = L"TavrinTest.Plain";
const std::wstring JAPANESE = L"TavrinTest.Japanese";
const std::wstring EXPAND = L"TavrinTest.Expand";
const std::wstring EMPTY = L"TavrinTest.Empty";
const std::wstring EQUALS = L"TavrinTest.Equals";
const std::wstring FULL = L"TavrinTest.Full";
const std::wstring TOO_LONG = L"TavrinTest.TooLong";
const std::wstring JAPANESE_PATH = L"C:\\\u97F3\\\u30C1\u30E3\u30A4\u30E0.wav";
const std::wstring FULL_PATH = L"C:\\" + std::wstring(1024 - 7, L'f') + L".wav";  // 1024 characters
const std::wstring TOO_LONG_PATH = L"C:\\" + std::wstring(1500, L'l') + L".wav";

// Test events in the current user's scheme of the throw-away prefix, removed afterwards
// together with any key the test had to create.
class SchemeFixture : public testing::Test {
protected:
    void SetUp() override {
        createdScheme = !keyExists(SCHEME);
        setSound(PLAIN, REG_SZ, L"C:\\Windows\\media\\ding.wav");
        setSound(JAPANESE, REG_SZ, JAPANESE_PATH);
        setSound(EXPAND, REG_EXPAND_SZ, L"%SystemRoot%\\media\\chimes.wav");
        setSound(EMPTY, REG_SZ, L"");
        setSound(EQUALS, REG_SZ, L"C:\\a=b==c.wav");
        setUnterminatedSound(FULL, FULL_PATH);
        setSound(TOO_LONG, REG_SZ, TOO_LONG_PATH);
        settingsPath = tempSettingsPath();
        DeleteFileW(settingsPath.c_str());
    }
    void TearDown() override {
        for (const std::wstring& e : {PLAIN, JAPANESE, EXPAND, EMPTY, EQUALS, FULL, TOO_LONG})
            RegDeleteTreeW(HKEY_CURRENT_USER, (SCHEME + L"\\" + e).c_str());
        // Fails, as it should, when anything else was put in the scheme meanwhile.
        if (createdScheme) RegDeleteKeyW(HKEY_CURRENT_USER, SCHEME.c_str());
        DeleteFileW(settingsPath.c_str());
    }

    IniDocument settingsFile() const {
        Win32SettingsStorage storage(settingsPath);
        return parseIni(decodeIniBytes(storage.read().bytes));
    }

    bool createdScheme = false;
    std::wstring settingsPath;
};

}  // namespace

TEST(SoundScheme, WithoutASchemeKeyNothingHappens) {
    if (keyExists(SCHEME)) GTEST_SKIP() << "this prefix has a sound scheme";
    const std::wstring path = tempSettingsPath();
    DeleteFileW(path.c_str());
    AppSettings s;
    s.sysSoundsMuted = true;
    Win32SoundSchemeRegistry registry;
    Win32SettingsStorage storage(path);
    restoreSystemSounds(s, registry, storage);
    EXPECT_TRUE(s.sysSoundsMuted);
    s.sysSoundsMuted = false;
    muteSystemSounds(s, registry, storage);
    EXPECT_FALSE(s.sysSoundsMuted);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SchemeFixture, ReadsAValueThatFillsTheBufferAndTellsAVanishedEvent) {
    ASSERT_EQ(soundOf(FULL).bytes.size(), 2048u);
    Win32SoundSchemeRegistry registry;
    ASSERT_TRUE(registry.openScheme());
    EXPECT_EQ(registry.readEventSound(FULL).plainPath, FULL_PATH);
    EXPECT_EQ(registry.readEventSound(TOO_LONG).result, SoundReadResult::Read);
    EXPECT_EQ(registry.readEventSound(TOO_LONG).plainPath, std::nullopt);
    EXPECT_EQ(registry.readEventSound(EXPAND).plainPath, std::nullopt);
    EXPECT_EQ(registry.readEventSound(L"TavrinTest.Nowhere").result, SoundReadResult::EventMissing);
    EXPECT_EQ(registry.writeEventSound(L"TavrinTest.Nowhere", L"x"), SoundWriteResult::EventMissing);
}

TEST_F(SchemeFixture, MuteThenRestorePutsEverySoundBackExactly) {
    const auto before = schemeSnapshot();
    AppSettings s;
    {
        Win32SoundSchemeRegistry registry;
        Win32SettingsStorage storage(settingsPath);
        muteSystemSounds(s, registry, storage);
    }
    EXPECT_TRUE(s.sysSoundsMuted);
    const RawValue blank{REG_SZ, textBytes(L"")};
    for (const std::wstring& e : {PLAIN, JAPANESE, EMPTY, EQUALS, FULL}) EXPECT_EQ(soundOf(e), blank);
    EXPECT_EQ(soundOf(EXPAND), before.at(EXPAND));
    EXPECT_EQ(soundOf(TOO_LONG), before.at(TOO_LONG));
    // The backup is under this account's and this computer's name.
    const std::optional<BackupOwner> owner = currentBackupOwner();
    ASSERT_TRUE(owner.has_value());
    EXPECT_TRUE(owner->account.starts_with(L"S-1-5-"));
    EXPECT_FALSE(owner->computer.empty());
    const std::wstring section = backupSectionName(*owner);
    {
        const IniDocument file = settingsFile();
        EXPECT_EQ(iniValue(file, section, JAPANESE), JAPANESE_PATH);
        EXPECT_EQ(iniValue(file, section, EMPTY), std::nullopt);
        EXPECT_EQ(iniValue(file, section, EXPAND), std::nullopt);
    }

    {
        Win32SoundSchemeRegistry registry;
        Win32SettingsStorage storage(settingsPath);
        restoreSystemSounds(s, registry, storage);
        EXPECT_EQ(iniSectionEntries(settingsFile(), section), std::vector<IniEntry>{});
        // The registry's own flush, which the restore relies on before it drops a line.
        ASSERT_TRUE(registry.openScheme());
        EXPECT_TRUE(registry.flushToDisk());
    }
    EXPECT_FALSE(s.sysSoundsMuted);
    auto after = schemeSnapshot();
    // The value that filled the read without a terminator comes back terminated.
    EXPECT_EQ(after.at(FULL), (RawValue{REG_SZ, textBytes(FULL_PATH)}));
    after[FULL] = before.at(FULL);
    EXPECT_EQ(after, before);
}

TEST_F(SchemeFixture, UnwritableSettingsFileKeepsTheSoundsPlaying) {
    // A folder that does not exist stands for any settings file that can't be written; the
    // read-only attribute does not stop a process running as root under Wine.
    Win32SettingsStorage storage(settingsPath + L".missing\\settings.ini");
    const auto before = schemeSnapshot();
    AppSettings s;
    Win32SoundSchemeRegistry registry;
    muteSystemSounds(s, registry, storage);
    EXPECT_EQ(schemeSnapshot(), before);
}

TEST_F(SchemeFixture, RestoreLeavesASoundChosenSinceTheMute) {
    AppSettings s;
    Win32SoundSchemeRegistry registry;
    Win32SettingsStorage storage(settingsPath);
    muteSystemSounds(s, registry, storage);
    ASSERT_EQ(soundOf(PLAIN), (RawValue{REG_SZ, textBytes(L"")}));
    setSound(PLAIN, REG_SZ, L"C:\\chosen since.wav");
    setSound(EQUALS, REG_EXPAND_SZ, L"%Media%\\since.wav");
    restoreSystemSounds(s, registry, storage);
    EXPECT_EQ(soundOf(PLAIN), (RawValue{REG_SZ, textBytes(L"C:\\chosen since.wav")}));
    EXPECT_EQ(soundOf(EQUALS), (RawValue{REG_EXPAND_SZ, textBytes(L"%Media%\\since.wav")}));
    EXPECT_EQ(soundOf(JAPANESE), (RawValue{REG_SZ, textBytes(JAPANESE_PATH)}));
    EXPECT_EQ(iniSectionEntries(settingsFile(), backupSectionName(*currentBackupOwner())), std::vector<IniEntry>{});
}
