#include "settings/value_text.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ValueText, DecimalReadsLikeTheProfileReader) {
    EXPECT_EQ(parseDecimal(L"1250"), 1250);
    EXPECT_EQ(parseDecimal(L"  -42"), -42);
    EXPECT_EQ(parseDecimal(L"\t+7"), 7);
    EXPECT_EQ(parseDecimal(L"1.25"), 1);
    EXPECT_EQ(parseDecimal(L"12abc"), 12);
    EXPECT_EQ(parseDecimal(L"abc"), 0);
    EXPECT_EQ(parseDecimal(L""), 0);
    EXPECT_EQ(parseDecimal(L"-"), 0);
    EXPECT_EQ(parseDecimal(L"+-5"), 0);
    EXPECT_EQ(parseDecimal(L"0x10"), 0);
}

TEST(ValueText, DecimalSaturatesBeyondThirtyTwoBits) {
    EXPECT_EQ(parseDecimal(L"2147483647"), INT32_MAX);
    EXPECT_EQ(parseDecimal(L"2147483648"), INT32_MAX);
    EXPECT_EQ(parseDecimal(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(parseDecimal(L"-2147483649"), INT32_MIN);
    EXPECT_EQ(parseDecimal(std::wstring(5000, L'9')), INT32_MAX);
    EXPECT_EQ(parseDecimal(L"-" + std::wstring(5000, L'9')), INT32_MIN);
    EXPECT_EQ(parseDecimal(std::wstring(5000, L'0') + L"17"), 17);
}

TEST(ValueText, HexAcceptsPrefixAndStopsAtTheFirstOtherCharacter) {
    EXPECT_EQ(parseHex(L"3CA0FF"), 0x3CA0FFu);
    EXPECT_EQ(parseHex(L"3ca0ff"), 0x3CA0FFu);
    EXPECT_EQ(parseHex(L"  0x00FF00"), 0x00FF00u);
    EXPECT_EQ(parseHex(L"0XAB"), 0xABu);
    EXPECT_EQ(parseHex(L"#FFFFFF"), 0u);
    EXPECT_EQ(parseHex(L"0x"), 0u);
    EXPECT_EQ(parseHex(L"FFzz12"), 0xFFu);
    EXPECT_EQ(parseHex(L"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(parseHex(L"100000000"), 0xFFFFFFFFu);
    EXPECT_EQ(parseHex(std::wstring(3000, L'F')), 0xFFFFFFFFu);
    EXPECT_EQ(parseHex(std::wstring(3000, L'0') + L"12"), 0x12u);
}

TEST(ValueText, ScaleIsWrittenInRoundedThousandths) {
    EXPECT_EQ(scaleToText(1.05), L"1050");
    EXPECT_EQ(scaleToText(0.8), L"800");
    EXPECT_EQ(scaleToText(1.0005), L"1001");
}
