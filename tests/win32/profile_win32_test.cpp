#include "settings/profile_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "settings/settings_file.h"

namespace {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, base);
        for (unsigned n = GetTickCount();; ++n) {
            path = std::wstring(base) + L"tavrin-settings-" + std::to_wstring(n);
            if (CreateDirectoryW(path.c_str(), nullptr)) break;
        }
    }
    ~TempFolder() {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring file = path + L"\\" + found.cFileName;
                SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(file.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    }
    std::wstring file(const wchar_t* name) const { return path + L"\\" + name; }

private:
    std::wstring path;
};

std::string fileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// The file's text after its UTF-16LE byte-order mark.
std::wstring unicodeText(const std::string& bytes) {
    std::wstring text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

const std::wstring JAPANESE = L"C:\\\u97F3\\\u30C1\u30E3\u30A4\u30E0.wav";

}  // namespace

TEST(Win32Profile, NewFileIsUnicodeAndKeepsJapaneseText) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    {
        Win32Profile profile(path);
        EXPECT_TRUE(profile.writeString(L"sysSndBackup", L"SystemAsterisk", JAPANESE));
    }
    const std::string bytes = fileBytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
    EXPECT_NE(unicodeText(bytes).find(JAPANESE), std::wstring::npos);
    Win32Profile again(path);
    EXPECT_EQ(again.readString(L"sysSndBackup", L"SystemAsterisk"), JAPANESE);
    EXPECT_EQ(again.readSection(L"sysSndBackup"), (std::vector<ProfileEntry>{{L"SystemAsterisk", JAPANESE}}));
}

TEST(Win32Profile, TellsAMissingKeyFromAnEmptyValue) {
    TempFolder folder;
    Win32Profile profile(folder.file(L"settings.ini"));
    EXPECT_EQ(profile.readString(L"main", L"scale"), std::nullopt);
    ASSERT_TRUE(profile.writeString(L"main", L"scale", L""));
    EXPECT_EQ(profile.readString(L"main", L"scale"), L"");
    EXPECT_EQ(profile.readString(L"color", L"scale"), std::nullopt);
    EXPECT_TRUE(profile.deleteSection(L"main"));
    EXPECT_EQ(profile.readString(L"main", L"scale"), std::nullopt);
}

TEST(Win32Profile, ReadsLongValuesAndWholeLongSections) {
    TempFolder folder;
    Win32Profile profile(folder.file(L"settings.ini"));
    const std::wstring longValue(5000, L'v');
    ASSERT_TRUE(profile.writeString(L"big", L"long", longValue));
    EXPECT_EQ(profile.readString(L"big", L"long"), longValue);

    std::vector<ProfileEntry> expected;
    for (int i = 0; i < 120; ++i)
        expected.emplace_back(L"Event" + std::to_wstring(i), L"C:\\" + std::wstring(150, L'p') + L"=" + std::to_wstring(i));
    for (const auto& [key, value] : expected) ASSERT_TRUE(profile.writeString(L"sysSndBackup", key, value));
    const std::vector<ProfileEntry> read = profile.readSection(L"sysSndBackup");
    EXPECT_EQ(read.size(), expected.size());
    EXPECT_EQ(read, expected);
}

TEST(Win32Profile, AnAnsiFileRefusesTextItCannotHold) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    writeFileBytes(path, "[main]\r\nstyle=2\r\n");
    Win32Profile profile(path);
    EXPECT_FALSE(profile.writeString(L"sysSndBackup", L"SystemAsterisk", JAPANESE));
    EXPECT_EQ(fileBytes(path), "[main]\r\nstyle=2\r\n");
    EXPECT_TRUE(profile.writeString(L"main", L"alpha", L"153"));
    EXPECT_EQ(profile.readString(L"main", L"alpha"), L"153");
    EXPECT_EQ(profile.readString(L"main", L"style"), L"2");
}

TEST(Win32Profile, AnEmptyFileBecomesUnicode) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    writeFileBytes(path, "");
    Win32Profile profile(path);
    ASSERT_TRUE(profile.writeString(L"sysSndBackup", L"X", JAPANESE));
    EXPECT_EQ(profile.readString(L"sysSndBackup", L"X"), JAPANESE);
}

TEST(Win32Profile, SettingsRoundTripThroughTheRealFile) {
    TempFolder folder;
    const std::wstring path = folder.file(L"settings.ini");
    Win32Profile profile(path);
    AppSettings s;
    s.style = 7;
    s.alpha = 153;
    s.scale = 1.05;
    s.soundOn = true;
    s.colors.fillA = rgb(1, 2, 3);
    saveSettings(s, profile, {-300, 40});

    EXPECT_EQ(fileBytes(path).substr(0, 2), std::string("\xFF\xFE", 2));
    AppSettings back;
    loadSettings(back, profile);
    EXPECT_EQ(back.style, 7);
    EXPECT_EQ(back.alpha, 153);
    EXPECT_DOUBLE_EQ(back.scale, 1.05);
    EXPECT_TRUE(back.soundOn);
    EXPECT_EQ(back.colors, s.colors);
    EXPECT_EQ(readSavedPosition(profile), (WindowPosition{-300, 40}));
}
