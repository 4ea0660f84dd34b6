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

TEST(WindowsPaths, TheLockNameIsFixedByThePathAlone) {
    const std::wstring name = settingsLockName(L"C:\\TAVRIN\\SETTINGS.INI");
    EXPECT_EQ(name, settingsLockName(L"C:\\TAVRIN\\SETTINGS.INI"));
    EXPECT_TRUE(name.starts_with(L"Local\\Tavrin.settings."));
    EXPECT_EQ(name.size(), std::wstring(L"Local\\Tavrin.settings.").size() + 16);
    EXPECT_NE(name, settingsLockName(L"C:\\TAVRIN2\\SETTINGS.INI"));
    // FNV-1a over the UTF-16 bytes: the empty text gives the offset basis itself.
    EXPECT_EQ(settingsLockName(L""), L"Local\\Tavrin.settings.cbf29ce484222325");
    EXPECT_NE(settingsLockName(L"\u97F3"), settingsLockName(L"\u97F4"));
}
