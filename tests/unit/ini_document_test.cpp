#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <random>

#include "settings/ini_encoding.h"

namespace {

using Entries = std::vector<IniEntry>;

std::vector<std::wstring> lineTexts(const IniDocument& doc) {
    std::vector<std::wstring> texts;
    for (const IniLine& line : doc.lines) texts.push_back(line.text);
    return texts;
}

struct TrickyFile {
    const char* what;
    std::wstring text;
    std::wstring section;
    std::wstring key;
    std::optional<std::wstring> value;
};

const std::wstring LONG_VALUE(70000, L'v');

// What a key read finds in files users and other programs leave behind.
const TrickyFile TRICKY_FILES[] = {
    {"blank lines everywhere", L"\r\n\r\n[main]\r\n\r\n\r\nscale=1250\r\n\r\n", L"main", L"scale", L"1250"},
    {"spaces and tabs around names, '=' and values", L" [ main ] \n\t scale \t=\t 1250 \t\n", L"main", L"scale", L"1250"},
    {"names in any case", L"[MAIN]\nScAlE=800\n", L"main", L"scale", L"800"},
    {"the first of duplicate keys", L"[main]\nscale=800\nscale=1200\n", L"main", L"scale", L"800"},
    {"only the first of duplicate sections", L"[main]\nstyle=1\n[main]\nscale=2000\n", L"main", L"scale", std::nullopt},
    {"no final line break", L"[main]\nscale=1250", L"main", L"scale", L"1250"},
    {"lone CR and lone LF line ends", L"[main]\rstyle=2\nscale=1250\r\r\n", L"main", L"scale", L"1250"},
    {"a very long line", L"[main]\nlong=" + LONG_VALUE + L"\nscale=1\n", L"main", L"long", LONG_VALUE},
    {"non-ASCII names and values", L"[\u97F3]\n\u30C1\u30E3\u30A4\u30E0=C:\\\u00E9t\u00E9.wav\n", L"\u97F3",
     L"\u30C1\u30E3\u30A4\u30E0", L"C:\\\u00E9t\u00E9.wav"},
    {"a byte-order mark where two files were joined", L"[main]\nstyle=1\n\uFEFF[color]\nfillA=3CA0FF\n", L"color",
     L"fillA", L"3CA0FF"},
    {"a value in quotes", L"[main]\na=\"x y\"\nb='z'\nc=\"open\n", L"main", L"a", L"x y"},
    {"an unmatched quote", L"[main]\nc=\"open\n", L"main", L"c", L"\"open"},
    {"'=' in the value", L"[s]\nk==v=w\n", L"s", L"k", L"=v=w"},
    {"an empty value", L"[s]\nempty=\n", L"s", L"empty", L""},
    {"a line without '='", L"[s]\nnoequals\n", L"s", L"noequals", std::nullopt},
    {"a commented-out key", L"[s]\n;k=1\n", L"s", L";k", std::nullopt},
    {"keys before any section", L"orphan=1\n[s]\n", L"", L"orphan", std::nullopt},
    {"a section without a name", L"[]\nhidden=1\n", L"", L"hidden", std::nullopt},
    {"an unclosed header is a line of the section above", L"[s]\n[broken\nk=1\n", L"s", L"k", L"1"},
    {"text after a header's bracket", L"[s] trailing\nk=2\n", L"s", L"k", L"2"},
    {"Ctrl-Z at the end of old files", L"[s]\nk=3\x1A\n", L"s", L"k", L"3"},
    {"a NUL inside a line", std::wstring(L"[s]\nk=a\0b\n", 10), L"s", L"k", std::wstring(L"a\0b", 3)},
};

}  // namespace

TEST(IniDocument, ReadsTrickyFilesAsTheProfileFunctionsDo) {
    for (const TrickyFile& file : TRICKY_FILES)
        EXPECT_EQ(iniValue(parseIni(file.text), file.section, file.key), file.value) << file.what;
}

TEST(IniDocument, WritingBackKeepsEveryLineOfTrickyFiles) {
    for (const TrickyFile& file : TRICKY_FILES) {
        const IniDocument doc = parseIni(file.text);
        const std::wstring written = formatIni(doc);
        const IniDocument again = parseIni(written);
        EXPECT_EQ(lineTexts(again), lineTexts(doc)) << file.what;
        EXPECT_EQ(formatIni(again), written) << file.what;
        EXPECT_EQ(parseIni(decodeIniBytes(encodeIniText(written))), doc) << file.what;
    }
    EXPECT_EQ(formatIni(parseIni(L"[main]\rstyle=2\nscale=1250\r\r\n")), L"[main]\r\nstyle=2\r\nscale=1250\r\n\r\n");
    EXPECT_EQ(formatIni(parseIni(L"a")), L"a\r\n");
    EXPECT_EQ(formatIni(parseIni(L"")), L"");
}

TEST(IniDocument, SectionReadsKeepQuotesAndSkipCommentsAndLinesWithoutEquals) {
    const IniDocument doc = parseIni(L"[s]\nnoequals\n;note=x\na=\"x y\"\nk==v\n[s]\nlater=1\n");
    EXPECT_EQ(iniSectionEntries(doc, L" S "), (Entries{{L"a", L"\"x y\""}, {L"k", L"=v"}}));
    EXPECT_EQ(iniSectionEntries(doc, L"missing"), Entries{});
}

TEST(IniDocument, EntriesOfEverySectionKeepTheFirstOfEachName) {
    const IniDocument doc = parseIni(L"[b]\nMailBeep=new\n[main]\nx=1\n[B]\nmailbeep=stale\nDing=d\n[b]\nding=older\n");
    EXPECT_EQ(iniEntriesOfEverySection(doc, L"b"), (Entries{{L"MailBeep", L"new"}, {L"Ding", L"d"}}));
}

TEST(IniDocument, EditingAKeyChangesOnlyItsLine) {
    IniDocument doc = parseIni(L"; mine\r\n[Main]\r\n  Alpha = 1  \r\nAlpha=2\r\n\r\n[main]\r\nalpha=3\r\nscale=\r\n");
    setIniValue(doc, L"main", L"alpha", L"153");
    setIniValue(doc, L"MAIN", L"scale", L"1250");  // not in the first [main]: added there
    setIniValue(doc, L"main", L"style", L"2");
    EXPECT_EQ(formatIni(doc), L"; mine\r\n[Main]\r\n  Alpha = 153\r\nAlpha=2\r\nscale=1250\r\nstyle=2\r\n\r\n"
                              L"[main]\r\nalpha=3\r\nscale=\r\n");
    EXPECT_EQ(iniValue(doc, L"main", L"scale"), L"1250");
    // An empty value is replaced right after its '='.
    IniDocument empty = parseIni(L"[s]\nk =   \n");
    setIniValue(empty, L"s", L"k", L"v");
    EXPECT_EQ(lineTexts(empty), (std::vector<std::wstring>{L"[s]", L"k =v"}));
}

TEST(IniDocument, NewKeysFollowTheLastKeyOfTheirSectionAndNewSectionsComeLast) {
    IniDocument doc = parseIni(L"top=0\n[main]\n; only a comment\n\n[color]\nfillA=1\n\n; about [other]\n[other]\n");
    setIniValue(doc, L"main", L"style", L"1");
    setIniValue(doc, L"color", L"textN", L"1E1E1E");
    setIniValue(doc, L"sysSndBackup", L"Ding", L"C:\\d.wav");
    EXPECT_EQ(lineTexts(doc), (std::vector<std::wstring>{L"top=0", L"[main]", L"style=1", L"; only a comment", L"",
                                                         L"[color]", L"fillA=1", L"textN=1E1E1E", L"",
                                                         L"; about [other]", L"[other]", L"[sysSndBackup]",
                                                         L"Ding=C:\\d.wav"}));
    // The unnamed lines before the first header are no section of any name.
    IniDocument orphan = parseIni(L"k=1\n");
    setIniValue(orphan, L"", L"k", L"2");
    EXPECT_EQ(lineTexts(orphan), (std::vector<std::wstring>{L"k=1", L"[]", L"k=2"}));
}

TEST(IniDocument, RemovesKeysFromEverySectionOfTheNameAndOnlySectionsLeftBlank) {
    IniDocument doc = parseIni(L"[b]\nA=1\nB=2\n; note\n\n[main]\nA=main\n[B]\nb=3\na=4\n\n[b]\nA=5\nnot a key\n[end]\n");
    removeIniKeys(doc, L"b", {L"a", L" b "});
    EXPECT_EQ(lineTexts(doc), (std::vector<std::wstring>{L"[b]", L"; note", L"", L"[main]", L"A=main", L"[B]", L"",
                                                         L"[b]", L"not a key", L"[end]"}));
    // A section goes with its blank lines; one that still holds what the user wrote stays.
    removeEmptyIniSections(doc, L"b");
    EXPECT_EQ(lineTexts(doc), (std::vector<std::wstring>{L"[b]", L"; note", L"", L"[main]", L"A=main", L"[b]",
                                                         L"not a key", L"[end]"}));
    IniDocument kept = parseIni(L"[b]\nC=3\n");
    removeEmptyIniSections(kept, L"b");
    EXPECT_EQ(lineTexts(kept), (std::vector<std::wstring>{L"[b]", L"C=3"}));
}

TEST(IniEncoding, DecodesByTheMarkThenAsUtf8ThenInTheAnsiCodePage) {
    const std::wstring day(1, wchar_t{0x65E5});
    EXPECT_EQ(decodeIniBytes(std::string("\xFF\xFE\xE5\x65", 4)), day);
    EXPECT_EQ(decodeIniBytes(std::string("\xFE\xFF\x65\xE5", 4)), day);
    EXPECT_EQ(decodeIniBytes("\xEF\xBB\xBF\xE6\x97\xA5"), day);
    EXPECT_EQ(decodeIniBytes("\xEF\xBB\xBF\xE6\x97"), std::wstring(2, wchar_t{0xFFFD}));
    EXPECT_EQ(decodeIniBytes("k=\xE6\x97\xA5"), L"k=" + day);  // well-formed UTF-8 without a mark
    EXPECT_EQ(decodeIniBytes("k=\xE9t\xE9"), L"k=\u00E9t\u00E9");  // not UTF-8: ANSI
    EXPECT_EQ(decodeIniBytes(std::string("\xFF\xFE\x41\x00\x42", 5)), L"A");  // a lone last byte is dropped
    int ansiCalls = 0;
    const AnsiDecoder shiftJis = [&](std::string_view bytes) {
        ++ansiCalls;
        return bytes == "\x89\xB9" ? std::wstring(1, wchar_t{0x97F3}) : std::wstring(L"?");
    };
    EXPECT_EQ(decodeIniBytes("\x89\xB9", shiftJis), std::wstring(1, wchar_t{0x97F3}));
    EXPECT_EQ(decodeIniBytes("[main]", shiftJis), L"?");
    EXPECT_EQ(ansiCalls, 2);
}

TEST(IniEncoding, ReadsUtf16WithoutAMarkAndTellsItFromAnsiWithAStrayNul) {
    const std::wstring text = L"[main]\r\nscale=1500\r\n; \u97F3\r\n";
    const std::string littleEndian = encodeIniText(text).substr(2);
    EXPECT_EQ(decodeIniBytes(littleEndian), text);
    std::string bigEndian = littleEndian;
    for (std::size_t i = 0; i + 1 < bigEndian.size(); i += 2) std::swap(bigEndian[i], bigEndian[i + 1]);
    EXPECT_EQ(decodeIniBytes(bigEndian), text);
    // Mostly Japanese text still holds the ASCII of its names and line ends.
    const std::wstring japanese = L"[main]\r\n; " + std::wstring(40, wchar_t{0x97F3}) + L"\r\n";
    EXPECT_EQ(decodeIniBytes(encodeIniText(japanese).substr(2)), japanese);
    // A NUL or two in ANSI text (a damaged file) does not make it UTF-16.
    const std::string ansi = std::string("[main]\r\nstyle=2\r\n\0x\0; caf\xE9\r\n", 24);
    EXPECT_EQ(decodeIniBytes(ansi), std::wstring(L"[main]\r\nstyle=2\r\n\0x\0; caf\u00E9\r\n", 24));
}

TEST(IniEncoding, WritesUtf16LeAfterItsMarkAndReadsEveryCharacterBack) {
    EXPECT_EQ(encodeIniText(L"A\u00E9"), std::string("\xFF\xFE\x41\x00\xE9\x00", 6));
    // A character beyond the first plane is written as a surrogate pair however wide wchar_t is.
    const std::wstring emoji = decodeIniBytes("\xF0\x9F\x8E\xB5");
    EXPECT_EQ(encodeIniText(emoji), std::string("\xFF\xFE\x3C\xD8\xB5\xDF", 6));
    EXPECT_EQ(decodeIniBytes(encodeIniText(emoji)), emoji);
    const std::wstring text = L"[s]\r\nk=C:\\\u97F3\\" + emoji + L".wav\r\n";
    EXPECT_EQ(decodeIniBytes(encodeIniText(text)), text);
}

TEST(IniDocument, ArbitraryBytesReadBackAsTheyWereWrittenAndEditsStayPut) {
    std::mt19937 random(20240611);
    const char alphabet[] = "[]=;\r\n \t\"'abcMAINscale0123456789\xFF\xFE\xEF\xBB\xBF\x00\x1A\x80";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const int length = static_cast<int>(random() % 400);
        for (int i = 0; i < length; ++i)
            bytes += (random() % 4 == 0) ? static_cast<char>(random() % 256) : alphabet[random() % (sizeof alphabet - 1)];
        IniDocument doc = parseIni(decodeIniBytes(bytes));
        ASSERT_EQ(parseIni(decodeIniBytes(encodeIniText(formatIni(doc)))), doc);
        const IniDocument before = doc;
        setIniValue(doc, L"main", L"scale", L"1250");
        ASSERT_EQ(iniValue(doc, L"main", L"scale"), L"1250");
        ASSERT_LE(doc.lines.size(), before.lines.size() + 2);
        removeIniKeys(doc, L"main", {L"scale"});
        removeEmptyIniSections(doc, L"main");
        ASSERT_EQ(iniValue(doc, L"main", L"scale"), std::nullopt);
    }
}
