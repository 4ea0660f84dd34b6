#include <gtest/gtest.h>

#include <string>

#include "input/click_sound.h"

TEST(ClickSound, PicksTheFileBySoundChoice) {
    EXPECT_EQ(std::wstring(clickSoundFile(1)), L"click1.wav");
    EXPECT_EQ(std::wstring(clickSoundFile(2)), L"click2.wav");
    for (int other : {3, 0, 7, -1, 1000}) EXPECT_EQ(std::wstring(clickSoundFile(other)), L"click3.wav") << other;
}

TEST(ClickSound, FileBesideExecutableKeepsTheExecutablesFolder) {
    EXPECT_EQ(fileBesideExecutable(L"C:\\Tools\\Tavrin\\tavrin.exe", L"click2.wav"), L"C:\\Tools\\Tavrin\\click2.wav");
    EXPECT_EQ(fileBesideExecutable(L"/opt/tavrin/tavrin.exe", L"click3.wav"), L"/opt/tavrin/click3.wav");
    EXPECT_EQ(fileBesideExecutable(L"tavrin.exe", L"click1.wav"), L"click1.wav");
    EXPECT_EQ(fileBesideExecutable(L"", L"click1.wav"), L"click1.wav");
}
