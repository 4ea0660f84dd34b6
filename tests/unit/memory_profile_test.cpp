#include "settings/memory_profile.h"

#include <gtest/gtest.h>

#include <random>

using Entries = std::vector<ProfileEntry>;

TEST(MemoryProfile, NamesAreCaseInsensitiveAndTrimmed) {
    MemoryProfile p(L"  [Main]  \r\n  Alpha =  153  \r\n[COLOR]\nfillA=3CA0FF\n");
    EXPECT_EQ(p.readString(L"main", L"alpha"), L"153");
    EXPECT_EQ(p.readString(L"MAIN", L"ALPHA"), L"153");
    EXPECT_EQ(p.readString(L" main ", L" alpha "), L"153");
    EXPECT_EQ(p.readString(L"color", L"filla"), L"3CA0FF");
    EXPECT_EQ(p.readString(L"main", L"fillA"), std::nullopt);
    EXPECT_EQ(p.readString(L"other", L"alpha"), std::nullopt);
}

TEST(MemoryProfile, FirstDuplicateWinsOnRead) {
    MemoryProfile p(L"[main]\nscale=800\nscale=1200\n[main]\nscale=2000\nstyle=2\n");
    EXPECT_EQ(p.readString(L"main", L"scale"), L"800");
    // Only the first section of a name is consulted, as the platform does.
    EXPECT_EQ(p.readString(L"main", L"style"), std::nullopt);
    EXPECT_EQ(p.readSection(L"main"), (Entries{{L"scale", L"800"}, {L"scale", L"1200"}}));
}

TEST(MemoryProfile, LinesWithoutEqualsCommentsAndOddHeadersHoldNoValue) {
    MemoryProfile p(L"orphan=1\n[s]\nnoequals\n;note=x\nk==v=w\n[broken\nempty=\n[]\nhidden=1\n");
    EXPECT_EQ(p.readString(L"s", L"noequals"), std::nullopt);
    EXPECT_EQ(p.readString(L"s", L"k"), L"=v=w");
    EXPECT_EQ(p.readString(L"s", L"[broken"), std::nullopt);
    EXPECT_EQ(p.readString(L"s", L"empty"), L"");
    EXPECT_EQ(p.readString(L"", L"orphan"), std::nullopt);
    EXPECT_EQ(p.readString(L"", L"hidden"), std::nullopt);
    EXPECT_EQ(p.readSection(L"s"), (Entries{{L"k", L"=v=w"}, {L"empty", L""}}));
}

TEST(MemoryProfile, KeyReadDropsEnclosingQuotesSectionReadKeepsThem) {
    MemoryProfile p(L"[s]\na=\"x y\"\nb='z'\nc=\"open\nd=\"\n");
    EXPECT_EQ(p.readString(L"s", L"a"), L"x y");
    EXPECT_EQ(p.readString(L"s", L"b"), L"z");
    EXPECT_EQ(p.readString(L"s", L"c"), L"\"open");
    EXPECT_EQ(p.readString(L"s", L"d"), L"\"");
    EXPECT_EQ(p.readSection(L"s")[0], (ProfileEntry{L"a", L"\"x y\""}));
}

TEST(MemoryProfile, WritesReplaceInPlaceAndAppendNewKeysAndSections) {
    MemoryProfile p(L"; kept\r\n[main]\r\nAlpha=1\r\nstyle=2\r\n");
    EXPECT_TRUE(p.writeString(L"main", L"alpha", L"153"));
    EXPECT_TRUE(p.writeString(L"main", L"scale", L"1000"));
    EXPECT_TRUE(p.writeString(L"color", L"textN", L"1E1E1E"));
    EXPECT_EQ(p.text(), L"; kept\r\n[main]\r\nAlpha=153\r\nstyle=2\r\nscale=1000\r\n[color]\r\ntextN=1E1E1E\r\n");
}

TEST(MemoryProfile, DeleteSectionRemovesEveryCopyAndLeavesTheRest) {
    MemoryProfile p(L"[a]\nx=1\n[b]\ny=2\n[A]\nz=3\n");
    EXPECT_TRUE(p.deleteSection(L"a"));
    EXPECT_EQ(p.text(), L"[b]\r\ny=2\r\n");
    EXPECT_TRUE(p.deleteSection(L"missing"));
    EXPECT_EQ(p.text(), L"[b]\r\ny=2\r\n");
}

TEST(MemoryProfile, ReadOnlyRefusesEveryWriteAndKeepsTheText) {
    MemoryProfile p(L"[a]\nx=1\n");
    p.setReadOnly(true);
    EXPECT_FALSE(p.writeString(L"a", L"x", L"2"));
    EXPECT_FALSE(p.writeString(L"b", L"y", L"2"));
    EXPECT_FALSE(p.deleteSection(L"a"));
    EXPECT_EQ(p.text(), L"[a]\nx=1\n");
    EXPECT_EQ(p.readString(L"a", L"x"), L"1");
}

TEST(MemoryProfile, FileBytesAreDecodedByTheirMark) {
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("[\0s\0]\0\n\0k\0=\0\xE5\x65", 14);
    EXPECT_EQ(MemoryProfile(utf16).readString(L"s", L"k"), std::wstring(1, wchar_t{0x65E5}));
    EXPECT_EQ(MemoryProfile(std::string("\xEF\xBB\xBF[s]\nk=\xE6\x97\xA5")).readString(L"s", L"k"),
              std::wstring(1, wchar_t{0x65E5}));
    EXPECT_EQ(MemoryProfile(std::string("\xEF\xBB\xBF[s]\nk=\xE6\x97")).readString(L"s", L"k"),
              std::wstring(2, wchar_t{0xFFFD}));
    EXPECT_EQ(MemoryProfile(std::string("[s]\nk=\xE9t\xE9")).readString(L"s", L"k"), L"\u00E9t\u00E9");
    // A lone trailing byte of UTF-16 text is dropped.
    EXPECT_EQ(MemoryProfile(utf16 + "\x41").readString(L"s", L"k"), std::wstring(1, wchar_t{0x65E5}));
}

TEST(MemoryProfile, ArbitraryBytesNeverBreakReadsOrWrites) {
    std::mt19937 random(20240611);
    const char alphabet[] = "[]=;\r\n \t\"'abcMAINscale0123456789\xFF\xFE\xEF\xBB\xBF\x00\x1A\x80";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i)
            bytes += (random() % 4 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % (sizeof alphabet - 1)];
        MemoryProfile p(bytes);
        (void)p.readString(L"main", L"scale");
        (void)p.readSection(L"main");
        ASSERT_TRUE(p.writeString(L"main", L"scale", L"1250"));
        ASSERT_EQ(p.readString(L"main", L"scale"), L"1250");
        ASSERT_TRUE(p.deleteSection(L"main"));
        ASSERT_EQ(p.readString(L"main", L"scale"), std::nullopt);
    }
}
