#include "settings/windows_paths.h"

#include <gtest/gtest.h>

TEST(WindowsPaths, FullPathsTakeTheExtendedLengthForm) {
    EXPECT_EQ(extendedLengthPath(L"C:\\Tavrin\\settings.ini"), L"\\\\?\\C:\\Tavrin\\settings.ini");
    EXPECT_EQ(extendedLengthPath(L"z:\\tmp\\settings.ini"), L"\\\\?\\z:\\tmp\\settings.ini");
    EXPECT_EQ(extendedLengthPath(L"\\\\server\\share\\settings.ini"), L"\\\\?\\UNC\\server\\share\\settings.ini");
    EXPECT_EQ(extendedLengthPath(L"\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
    EXPECT_EQ(extendedLengthPath(L"\\\\.\\pipe\\x"), L"\\\\.\\pipe\\x");
    // Not full: the prefix would turn it into another path.
    EXPECT_EQ(extendedLengthPath(L"settings.ini"), L"settings.ini");
    EXPECT_EQ(extendedLengthPath(L"C:settings.ini"), L"C:settings.ini");
    EXPECT_EQ(extendedLengthPath(L""), L"");
}

TEST(WindowsPaths, BothFormsOfAPathAreOnePath) {
    for (const wchar_t* path : {L"C:\\Tavrin\\settings.ini", L"\\\\server\\share\\settings.ini", L"settings.ini"})
        EXPECT_EQ(withoutExtendedPrefix(extendedLengthPath(path)), path);
}

TEST(WindowsPaths, TheLockNamesAreFixedByThePathAloneInBothNamespaces) {
    const SettingsLockNames names = settingsLockNames(L"C:\\TAVRIN\\SETTINGS.INI");
    EXPECT_EQ(names.local, settingsLockNames(L"C:\\TAVRIN\\SETTINGS.INI").local);
    EXPECT_TRUE(names.local.starts_with(L"Local\\Tavrin.settings."));
    EXPECT_EQ(names.local.size(), std::wstring(L"Local\\Tavrin.settings.").size() + 16);
    EXPECT_EQ(names.global, L"Global" + names.local.substr(5));
    EXPECT_NE(names.local, settingsLockNames(L"C:\\TAVRIN2\\SETTINGS.INI").local);
    // FNV-1a over the UTF-16 bytes: the empty text gives the offset basis itself, as the
    // Local name always has, so that earlier versions running beside this one share it.
    EXPECT_EQ(settingsLockNames(L"").local, L"Local\\Tavrin.settings.cbf29ce484222325");
    EXPECT_NE(settingsLockNames(L"\u97F3").global, settingsLockNames(L"\u97F4").global);
}
