#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <random>

#include "settings/ini_encoding.h"
#include "memory_sound_registry.h"
#include "settings/memory_settings_storage.h"
#include "settings/system_sounds.h"

namespace {

AppSettings loaded(const std::wstring& text) {
    AppSettings s;
    readSettings(s, parseIni(text));
    return s;
}

std::wstring saved(const AppSettings& s, const std::wstring& text, WindowPosition position) {
    IniDocument doc = parseIni(text);
    writeSettings(s, doc, position);
    return formatIni(doc);
}

double loadedScale(const std::wstring& value) { return loaded(L"[main]\nscale=" + value + L"\n").scale; }

void expectWithinInvariants(const AppSettings& s) {
    EXPECT_GE(s.scale, MIN_SCALE);
    EXPECT_LE(s.scale, MAX_SCALE);
    for (bool b : {s.topmost, s.clickthru, s.shadow, s.aa, s.soundOn, s.autoMuteSys})
        EXPECT_TRUE(static_cast<unsigned char>(b) <= 1);
}

}  // namespace

TEST(SettingsPath, IsBesideTheExecutable) {
    EXPECT_EQ(resolveSettingsPath(L"C:\\Program Files\\Tavrin\\tavrin.exe"), L"C:\\Program Files\\Tavrin\\settings.ini");
    EXPECT_EQ(resolveSettingsPath(L"Z:/tmp/x/tavrin.exe"), L"Z:/tmp/x/settings.ini");
    EXPECT_EQ(resolveSettingsPath(L"C:\\a/b\\tavrin.exe"), L"C:\\a/b\\settings.ini");
    EXPECT_EQ(resolveSettingsPath(L"\\\\?\\C:\\long\\tavrin.exe"), L"\\\\?\\C:\\long\\settings.ini");
    // A path without its folder (one that could not be learnt) names no file at all, rather
    // than one in whatever the current folder happens to be.
    EXPECT_EQ(resolveSettingsPath(L"tavrin.exe"), L"");
    EXPECT_EQ(resolveSettingsPath(L""), L"");
}

TEST(LoadSettings, KeepsWhatTheRecordHeldForMissingKeysButNeverMuting) {
    AppSettings s;
    s.style = 2;
    s.scale = 2.0;
    s.colors.textN = 0x123456;
    s.autoMuteSys = true;
    readSettings(s, parseIni(L"[main]\nalpha=153\n"));
    EXPECT_EQ(s.style, 2);
    EXPECT_EQ(s.scale, 2.0);
    EXPECT_EQ(s.colors.textN, 0x123456u);
    EXPECT_EQ(s.alpha, 153);
    EXPECT_FALSE(s.autoMuteSys);
}

TEST(LoadSettings, ScaleIsThousandthsClamped) {
    EXPECT_DOUBLE_EQ(loadedScale(L"1250"), 1.25);
    EXPECT_DOUBLE_EQ(loadedScale(L"800"), 0.8);
    EXPECT_DOUBLE_EQ(loadedScale(L"1.25"), 0.5);
    EXPECT_DOUBLE_EQ(loadedScale(L"5000"), 3.0);
    EXPECT_DOUBLE_EQ(loadedScale(L""), 1.0);
    EXPECT_DOUBLE_EQ(loadedScale(L"abc"), 0.5);
    EXPECT_DOUBLE_EQ(loadedScale(L"-2000"), 0.5);
    EXPECT_DOUBLE_EQ(loadedScale(L"99999999999999999999"), 3.0);
    // The read buffer holds 63 characters: the digits beyond them are not seen.
    EXPECT_DOUBLE_EQ(loadedScale(std::wstring(59, L'0') + L"1500"), 1.5);
    EXPECT_DOUBLE_EQ(loadedScale(std::wstring(62, L'0') + L"2500"), 0.5);
}

TEST(LoadSettings, NumbersAndBoolsAreNormalisedOrKeptAsRead) {
    const AppSettings s = loaded(L"[main]\nalpha=300\ntopmost=5\nclickthru=0\nshadow=-1\naa=x\nstyle=7\n"
                                 L"rendermode=-3\nsoundSel=99\nsoundOn=\nautoMuteSys=1\nlayout=2\n");
    EXPECT_EQ(s.alpha, 44);
    EXPECT_TRUE(s.topmost);
    EXPECT_FALSE(s.clickthru);
    EXPECT_TRUE(s.shadow);
    EXPECT_FALSE(s.aa);  // non-numeric reads 0
    EXPECT_EQ(s.style, 7);
    EXPECT_EQ(s.rendermode, -3);
    EXPECT_EQ(s.soundSel, 99);
    EXPECT_FALSE(s.soundOn);  // an empty value reads as the default
    EXPECT_TRUE(s.autoMuteSys);
    EXPECT_EQ(s.layout, 2);  // a keyboard this version does not know: shown compact, kept
    EXPECT_EQ(loaded(L"[main]\nalpha=-1\n").alpha, 255);
    EXPECT_EQ(loaded(L"[main]\nlayout=1\n").layout, LAYOUT_FULL);
    EXPECT_EQ(loaded(L"").layout, LAYOUT_COMPACT);
}

TEST(LoadSettings, ColoursAreRedGreenBlueHex) {
    const AppSettings s = loaded(L"[color]\ntextN=FF\ntextA=0x00FF00\nfillN=#FFFFFF\nfillA=3CA0FF\n"
                                 L"lineN=\nlineA=1234567890\nshadow=abcdef\n[main]\nshadow=1\n");
    EXPECT_EQ(s.colors.textN, 0xFF0000u);
    EXPECT_EQ(s.colors.textA, 0x00FF00u);
    EXPECT_EQ(s.colors.fillN, 0u);
    EXPECT_EQ(s.colors.fillA, 0xFFA03Cu);
    EXPECT_EQ(s.colors.lineN, KeyColors{}.lineN);
    EXPECT_EQ(s.colors.lineA, 0xFFFFFFu);
    EXPECT_EQ(s.colors.shadowColor, rgb(0xAB, 0xCD, 0xEF));
    EXPECT_TRUE(s.shadow);
}

TEST(SaveSettings, ANewFileGetsTheTwentyOneKeysInOrder) {
    EXPECT_EQ(saved(AppSettings{}, L"", {-5, 120}),
              L"[main]\r\nstyle=1\r\nalpha=204\r\ntopmost=1\r\nclickthru=1\r\nshadow=0\r\naa=0\r\nrendermode=0\r\n"
              L"soundOn=0\r\nsoundSel=1\r\nautoMuteSys=0\r\nscale=1000\r\nleft=-5\r\ntop=120\r\nlayout=0\r\n"
              L"[color]\r\ntextN=1E1E1E\r\ntextA=FFFFFF\r\nfillN=E6E6E6\r\nfillA=3CA0FF\r\nlineN=505050\r\n"
              L"lineA=3CA0FF\r\nshadow=A0A0A0\r\n");
}

TEST(SaveSettings, RoundTripsEveryFieldAndKeepsEverythingElseOfTheFile) {
    const std::wstring file = L"; my notes\r\n[sysSndBackup]\r\nSystemAsterisk=C:\\a=b.wav\r\n\r\n[main]\r\n"
                              L"style = 7\r\nmine=1\r\n[other]\r\nx=y\r\n";
    AppSettings s = loaded(file);
    s.alpha = 102;
    s.topmost = false;
    s.soundSel = 3;
    s.scale = 1.05;
    s.shadow = true;
    s.colors.lineN = rgb(1, 2, 3);
    const IniDocument doc = parseIni(saved(s, file, {POSITION_DEFAULT, 7}));
    AppSettings back;
    readSettings(back, doc);
    EXPECT_EQ(back.style, 7);
    EXPECT_EQ(back.alpha, 102);
    EXPECT_FALSE(back.topmost);
    EXPECT_EQ(back.soundSel, 3);
    EXPECT_DOUBLE_EQ(back.scale, 1.05);
    EXPECT_TRUE(back.shadow);
    EXPECT_EQ(back.colors, s.colors);
    EXPECT_EQ(readSavedPosition(doc), (WindowPosition{POSITION_DEFAULT, 7}));
    const std::wstring text = formatIni(doc);
    EXPECT_TRUE(text.starts_with(L"; my notes\r\n[sysSndBackup]\r\nSystemAsterisk=C:\\a=b.wav\r\n\r\n[main]\r\n"
                                 L"style = 7\r\nmine=1\r\nalpha=102\r\n"))
        << std::string(text.begin(), text.end());
    EXPECT_TRUE(text.ends_with(L"[other]\r\nx=y\r\n[color]\r\ntextN=1E1E1E\r\ntextA=FFFFFF\r\nfillN=E6E6E6\r\n"
                               L"fillA=3CA0FF\r\nlineN=010203\r\nlineA=3CA0FF\r\nshadow=A0A0A0\r\n"));
}

TEST(SavedPosition, MissingOrEmptyKeysGiveTheDefaultPosition) {
    EXPECT_EQ(readSavedPosition(parseIni(L"")), (WindowPosition{POSITION_DEFAULT, POSITION_DEFAULT}));
    EXPECT_EQ(readSavedPosition(parseIni(L"[main]\nleft=-1920\ntop=\n")), (WindowPosition{-1920, POSITION_DEFAULT}));
}

TEST(SettingsStorage, ASaveIsOneReplaceOfTheWholeFileInUtf16UnderTheLock) {
    MemorySettingsStorage storage(std::string("[main]\r\nstyle=2\r\n; caf\xE9\r\n"));  // ANSI
    AppSettings s;
    loadSettings(s, storage);
    EXPECT_EQ(s.style, 2);
    s.scale = 2.0;
    EXPECT_TRUE(saveSettings(s, storage, {1, 2}));
    EXPECT_EQ(storage.replaces, 1);
    EXPECT_FALSE(storage.locked);
    EXPECT_EQ(storage.file.bytes.substr(0, 2), "\xFF\xFE");
    const std::wstring text = storage.text();
    EXPECT_TRUE(text.starts_with(L"[main]\r\nstyle=2\r\nalpha=204\r\n"));
    EXPECT_NE(text.find(L"top=2\r\nlayout=0\r\n; caf\u00E9\r\n[color]\r\n"), std::wstring::npos);
    EXPECT_EQ(readSavedPosition(storage), (WindowPosition{1, 2}));
    // Saving what the file already holds writes nothing.
    EXPECT_TRUE(saveSettings(s, storage, {1, 2}));
    EXPECT_EQ(storage.replaces, 1);
}

TEST(SettingsStorage, AFileThatCantBeReadOrWrittenOrLockedIsLeftAsItWas) {
    AppSettings s;
    s.style = 2;
    MemorySettingsStorage unreadable;
    unreadable.file = {StoredFileState::Unreadable, {}};
    loadSettings(s, unreadable);
    EXPECT_EQ(s.style, 2);
    EXPECT_EQ(readSavedPosition(unreadable), WindowPosition{});
    EXPECT_FALSE(saveSettings(s, unreadable, {}));
    EXPECT_EQ(unreadable.replaces, 0);

    MemorySettingsStorage readOnly(std::wstring(L"[main]\r\nstyle=1\r\n"));
    readOnly.refusesReplace = true;
    const std::string before = readOnly.file.bytes;
    EXPECT_FALSE(saveSettings(s, readOnly, {}));
    EXPECT_EQ(readOnly.file.bytes, before);

    // Another copy keeps the lock: the save is skipped, a load still reads the whole file.
    MemorySettingsStorage busy(std::wstring(L"[main]\r\nstyle=1\r\n"));
    busy.lockTimesOut = true;
    EXPECT_FALSE(saveSettings(s, busy, {}));
    EXPECT_EQ(busy.replaces, 0);
    loadSettings(s, busy);
    EXPECT_EQ(s.style, 1);

    // No file: a load keeps the defaults and writes nothing; the first save makes the file.
    MemorySettingsStorage none;
    AppSettings fresh;
    loadSettings(fresh, none);
    EXPECT_EQ(none.file.state, StoredFileState::Absent);
    EXPECT_TRUE(saveSettings(fresh, none, {}));
    EXPECT_EQ(none.file.state, StoredFileState::Present);
}

TEST(SettingsStorage, AFileWrittenWithoutAByteOrderMarkIsReadAndWrittenBackWithOne) {
    const std::wstring text = L"[main]\r\nscale=1500\r\nstyle=2\r\n";
    MemorySettingsStorage storage(encodeIniText(text).substr(2));
    AppSettings s;
    loadSettings(s, storage);
    EXPECT_EQ(s.scale, 1.5);
    EXPECT_EQ(s.style, 2);
    EXPECT_TRUE(saveSettings(s, storage, {3, 4}));
    EXPECT_EQ(storage.file.bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_TRUE(storage.text().starts_with(text));
}

TEST(SettingsStorage, AnAnsiFileThatWouldGrowPastTheLimitAsUtf16IsLeftAsItWas) {
    // 9 MiB of ANSI comments: read whole, but 18 MiB once written as UTF-16, more than a
    // later read would take.
    std::string bytes = "[main]\r\nstyle=2\r\n";
    while (bytes.size() < (std::size_t{9} << 20)) bytes += "; " + std::string(1000, 'x') + "\r\n";
    MemorySettingsStorage storage(bytes);
    AppSettings s;
    loadSettings(s, storage);
    EXPECT_EQ(s.style, 2);
    EXPECT_FALSE(saveSettings(s, storage, {0, 0}));
    EXPECT_EQ(storage.replaces, 0);
    EXPECT_EQ(storage.file.bytes, bytes);
    // Nothing is muted then, since no backup could be written.
    MemorySoundRegistry r;
    r.add(L"MailBeep", L"C:\\mail.wav");
    muteSystemSounds(s, r, storage);
    EXPECT_EQ(r.path(L"MailBeep"), L"C:\\mail.wav");
    EXPECT_EQ(storage.file.bytes, bytes);
}

TEST(SettingsStorage, OnlyAWholeFileAsTheProgramWritesItCountsAsWhole) {
    const std::string whole = encodeIniText(L"[main]\r\nstyle=2\r\n[sysSndBackup]\r\nDing=C:\\d.wav\r\n");
    EXPECT_TRUE(isWholeSettingsFile(whole));
    EXPECT_TRUE(isWholeSettingsFile(encodeIniText(L"")));
    EXPECT_FALSE(isWholeSettingsFile(whole.substr(0, whole.size() - 4)));  // cut at the end of a line's text
    EXPECT_FALSE(isWholeSettingsFile(whole.substr(0, whole.size() - 1)));  // half a unit
    EXPECT_FALSE(isWholeSettingsFile(std::string(whole.size(), '\0')));   // zeros where the data never came
    EXPECT_FALSE(isWholeSettingsFile("[main]\r\nstyle=2\r\n"));        // not the program's own writing
    EXPECT_FALSE(isWholeSettingsFile(""));
}

TEST(LoadSettings, GarbageFilesLoadWithinTheInvariants) {
    std::mt19937 random(7);
    const std::wstring keys[] = {L"scale", L"alpha", L"topmost", L"clickthru", L"shadow", L"aa",
                                 L"soundOn", L"autoMuteSys", L"style", L"textN", L"fillA"};
    for (int round = 0; round < 200; ++round) {
        std::string bytes = round % 2 ? "[main]\n" : "[color]\n";
        for (int line = 0; line < 20; ++line) {
            const std::wstring& key = keys[random() % std::size(keys)];
            bytes += std::string(key.begin(), key.end()) + "=";
            const int length = static_cast<int>(random() % (line == 0 ? 5000 : 40));
            for (int i = 0; i < length; ++i) bytes += static_cast<char>(random() % 256);
            bytes += "\n";
        }
        AppSettings s;
        readSettings(s, parseIni(decodeIniBytes(bytes)));
        expectWithinInvariants(s);
    }
}
