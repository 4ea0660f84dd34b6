#include "settings/system_sounds.h"

#include <gtest/gtest.h>

#include "memory_sound_registry.h"
#include "settings/memory_profile.h"

namespace {

using Entries = std::vector<ProfileEntry>;

MemorySoundRegistry typicalScheme() {
    MemorySoundRegistry r;
    r.add(L".Default", L"C:\\Windows\\media\\Windows Background.wav");
    r.add(L"SystemAsterisk", L"");
    r.add(L"MailBeep", L"%SystemRoot%\\media\\ding.wav", TYPE_EXPAND_SZ);
    r.add(L"Odd", L"", TYPE_DWORD);
    r.add(L"Notification.Default", L"D:\\sounds\\a=b==c.wav");
    return r;
}

}  // namespace

TEST(MuteSystemSounds, BacksUpNonEmptyPlainStringsAndBlanksThem) {
    MemorySoundRegistry r = typicalScheme();
    r.add(L"Huge", L"x");
    r.events[L"Huge"].tooLargeToRead = true;
    r.add(L"NoCurrent", L"y");
    r.events[L"NoCurrent"].hasCurrentKey = false;
    MemoryProfile profile;
    AppSettings s;
    muteSystemSounds(s, r, profile);

    EXPECT_EQ(profile.readSection(SOUND_BACKUP_SECTION),
              (Entries{{L".Default", L"C:\\Windows\\media\\Windows Background.wav"},
                       {L"Notification.Default", L"D:\\sounds\\a=b==c.wav"}}));
    EXPECT_EQ(r.path(L".Default"), L"");
    EXPECT_EQ(r.path(L"Notification.Default"), L"");
    EXPECT_EQ(r.writes, 3);  // the already empty SystemAsterisk is blanked again
    EXPECT_EQ(r.events[L"MailBeep"], (MemoryEventSound{L"%SystemRoot%\\media\\ding.wav", TYPE_EXPAND_SZ}));
    EXPECT_EQ(r.events[L"Odd"].type, TYPE_DWORD);
    EXPECT_EQ(r.path(L"Huge"), L"x");
    EXPECT_EQ(r.path(L"NoCurrent"), L"y");
    EXPECT_EQ(r.broadcasts, 1);
    EXPECT_TRUE(s.sysSoundsMuted);
    EXPECT_FALSE(r.schemeOpen);
}

TEST(MuteSystemSounds, NothingHappensWhenTheSchemeCannotBeOpened) {
    MemorySoundRegistry r = typicalScheme();
    r.schemeOpens = false;
    MemoryProfile profile;
    AppSettings s;
    muteSystemSounds(s, r, profile);
    EXPECT_EQ(profile.text(), L"");
    EXPECT_EQ(r.writes, 0);
    EXPECT_EQ(r.broadcasts, 0);
    EXPECT_FALSE(s.sysSoundsMuted);
}

TEST(MuteSystemSounds, NeverBlanksASoundWhoseBackupWasNotWritten) {
    MemorySoundRegistry r = typicalScheme();
    MemoryProfile profile(L"[main]\nstyle=1\n");
    profile.setReadOnly(true);
    AppSettings s;
    muteSystemSounds(s, r, profile);
    EXPECT_EQ(r.path(L".Default"), L"C:\\Windows\\media\\Windows Background.wav");
    EXPECT_EQ(r.path(L"Notification.Default"), L"D:\\sounds\\a=b==c.wav");
    EXPECT_EQ(r.writes, 1);  // only the empty one, which needs no backup
    EXPECT_EQ(profile.text(), L"[main]\nstyle=1\n");
}

TEST(MuteSystemSounds, KeepsSoundsPlayingThatAnIniLineCannotCarryBack) {
    MemorySoundRegistry r;
    r.add(L"a=b", L"C:\\one.wav");
    r.add(L"[Group]", L"C:\\two.wav");
    r.add(L";Quiet", L"C:\\three.wav");
    r.add(L"Padded", L" C:\\four.wav ");
    r.add(L"Broken", L"C:\\five\r\n[main]\r\nscale=3000");
    r.add(L"Fine", L"C:\\six.wav");
    MemoryProfile profile;
    AppSettings s;
    muteSystemSounds(s, r, profile);
    EXPECT_EQ(profile.readSection(SOUND_BACKUP_SECTION), (Entries{{L"Fine", L"C:\\six.wav"}}));
    EXPECT_EQ(profile.readString(L"main", L"scale"), std::nullopt);
    EXPECT_EQ(r.path(L"a=b"), L"C:\\one.wav");
    EXPECT_EQ(r.path(L"[Group]"), L"C:\\two.wav");
    EXPECT_EQ(r.path(L";Quiet"), L"C:\\three.wav");
    EXPECT_EQ(r.path(L"Padded"), L" C:\\four.wav ");
    EXPECT_EQ(r.path(L"Fine"), L"");
}

TEST(RestoreSystemSounds, PutsBackExactlyWhatWasMutedAndDropsTheSection) {
    const MemorySoundRegistry original = typicalScheme();
    MemorySoundRegistry r = original;
    MemoryProfile profile(L"[main]\nstyle=2\n");
    AppSettings s;
    muteSystemSounds(s, r, profile);
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(r.events, original.events);
    EXPECT_EQ(profile.text(), L"[main]\r\nstyle=2\r\n");
    EXPECT_FALSE(s.sysSoundsMuted);
    EXPECT_EQ(r.broadcasts, 2);
}

TEST(RestoreSystemSounds, WritesPlainStringsAndDropsEntriesOfVanishedEvents) {
    MemorySoundRegistry r;
    r.add(L"MailBeep", L"", TYPE_EXPAND_SZ);
    MemoryProfile profile(L"[sysSndBackup]\nGone=C:\\gone.wav\nmailbeep=C:\\x=y.wav\nnoequals\n=C:\\nameless.wav\n"
                          L"a\\b=C:\\nested.wav\n");
    AppSettings s;
    s.sysSoundsMuted = true;
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(r.events[L"MailBeep"], (MemoryEventSound{L"C:\\x=y.wav", TYPE_SZ}));
    EXPECT_EQ(r.writes, 1);
    EXPECT_EQ(profile.readSection(SOUND_BACKUP_SECTION), Entries{});
    EXPECT_EQ(profile.text(), L"");
    EXPECT_FALSE(s.sysSoundsMuted);
}

TEST(RestoreSystemSounds, WithoutABackupStillBroadcastsAndClearsTheFlag) {
    MemorySoundRegistry r = typicalScheme();
    const auto before = r.events;
    MemoryProfile profile(L"[main]\nstyle=1\n");
    AppSettings s;
    s.sysSoundsMuted = true;
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(r.events, before);
    EXPECT_EQ(r.broadcasts, 1);
    EXPECT_FALSE(s.sysSoundsMuted);
    EXPECT_EQ(profile.text(), L"[main]\nstyle=1\n");
}

TEST(RestoreSystemSounds, LeavesEverythingWhenTheSchemeCannotBeOpened) {
    MemorySoundRegistry r = typicalScheme();
    r.schemeOpens = false;
    MemoryProfile profile(L"[sysSndBackup]\nSystemAsterisk=C:\\a.wav\n");
    AppSettings s;
    s.sysSoundsMuted = true;
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(profile.readSection(SOUND_BACKUP_SECTION), (Entries{{L"SystemAsterisk", L"C:\\a.wav"}}));
    EXPECT_EQ(r.broadcasts, 0);
    EXPECT_TRUE(s.sysSoundsMuted);
}

TEST(RestoreSystemSounds, KeepsTheBackupOfAnEventThatRefusedTheWrite) {
    MemorySoundRegistry r;
    r.add(L"Locked", L"");
    r.events[L"Locked"].refusesWrites = true;
    r.add(L"Open", L"");
    MemoryProfile profile(L"[sysSndBackup]\nLocked=C:\\locked.wav\nOpen=C:\\open.wav\nGone=C:\\gone.wav\n");
    AppSettings s;
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(r.path(L"Open"), L"C:\\open.wav");
    EXPECT_EQ(profile.readSection(SOUND_BACKUP_SECTION), (Entries{{L"Locked", L"C:\\locked.wav"}}));
    EXPECT_FALSE(s.sysSoundsMuted);
}

TEST(RestoreSystemSounds, RestoresABackupOfAnySize) {
    MemorySoundRegistry original;
    for (int i = 0; i < 150; ++i)
        original.add(L"Event" + std::to_wstring(i), L"C:\\" + std::wstring(200, L'p') + std::to_wstring(i) + L".wav");
    MemorySoundRegistry r = original;
    MemoryProfile profile;
    AppSettings s;
    muteSystemSounds(s, r, profile);
    ASSERT_GT(profile.text().size(), 3 * 8192u);
    ASSERT_EQ(r.path(L"Event149"), L"");
    restoreSystemSounds(s, r, profile);
    EXPECT_EQ(r.events, original.events);
}

TEST(RestoreSystemSounds, BringsBackWhatAKilledRunMuted) {
    const MemorySoundRegistry original = typicalScheme();
    MemorySoundRegistry r = original;
    MemoryProfile profile;
    AppSettings killed;
    muteSystemSounds(killed, r, profile);
    const std::wstring firstBackup = profile.text();
    AppSettings next;  // the next run mutes again over the blank scheme, then restores
    muteSystemSounds(next, r, profile);
    EXPECT_EQ(profile.text(), firstBackup);
    restoreSystemSounds(next, r, profile);
    EXPECT_EQ(r.events, original.events);
}
