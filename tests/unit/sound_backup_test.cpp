// The backup's owners, the lines a restore keeps, and the order in which the file and the
// registry reach the disk.
#include "settings/sound_backup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "memory_sound_registry.h"
#include "settings/ini_document.h"
#include "settings/memory_settings_storage.h"
#include "settings/system_sounds.h"

namespace {

const BackupOwner ALICE{L"S-1-5-21-1004336348-1177238915-682003330-1001", L"DESKTOP-7F3K2"};
const BackupOwner BOB{L"S-1-5-21-1004336348-1177238915-682003330-1002", L"DESKTOP-7F3K2"};
// The same domain account on the second computer of a synced folder.
const BackupOwner ALICE_AT_HOME{ALICE.account, L"HOME-PC"};

MemorySoundRegistry schemeOf(const BackupOwner& owner, const std::wstring& flavour) {
    MemorySoundRegistry r;
    r.whose = owner;
    r.add(L".Default", L"C:\\" + flavour + L"\\default.wav");
    r.add(L"MailBeep", L"C:\\" + flavour + L"\\mail.wav");
    r.add(L"SystemAsterisk", L"");
    r.add(L"SystemExit", L"C:\\" + flavour + L"\\exit.wav");
    return r;
}

std::vector<IniEntry> linesOf(const MemorySettingsStorage& storage, const BackupOwner& owner) {
    return iniEntriesOfEverySection(parseIni(storage.text()), backupSectionName(owner));
}

struct Account {
    MemorySoundRegistry original;
    MemorySoundRegistry registry;
    AppSettings s;
    Account(const BackupOwner& owner, const std::wstring& flavour) : original(schemeOf(owner, flavour)), registry(original) {}
    void mute(MemorySettingsStorage& file) { muteSystemSounds(s, registry, file); }
    void restore(MemorySettingsStorage& file) { restoreSystemSounds(s, registry, file); }
    bool isBack() const { return registry.events == original.events; }
    bool isMuted() const {
        return std::all_of(registry.events.begin(), registry.events.end(), [](const auto& e) { return e.second.path.empty(); });
    }
};

}  // namespace

TEST(BackupOwner, NamesTheSectionAfterTheAccountAndTheComputerReadablyAndUnambiguously) {
    EXPECT_EQ(backupSectionName(ALICE), L"sysSndBackup for S-1-5-21-1004336348-1177238915-682003330-1001 on DESKTOP-7F3K2");
    // What would end the header early or blur where a name ends is escaped, so two owners
    // never share a name.
    EXPECT_EQ(backupSectionName({L"S-1", L"A B]%\x01"}), L"sysSndBackup for S-1 on A%20B%5D%25%01");
    EXPECT_NE(backupSectionName({L"S-1", L"A B"}), backupSectionName({L"S-1", L"A%20B"}));
    EXPECT_NE(backupSectionName({L"S-1 on X", L"Y"}), backupSectionName({L"S-1", L"X on Y"}));
    EXPECT_EQ(backupSectionName({L"S-1", L"\u30D1\u30BD\u30B3\u30F3"}), L"sysSndBackup for S-1 on \u30D1\u30BD\u30B3\u30F3");
    // The header reads back as the name it was written with.
    IniDocument doc;
    setBackupLine(doc, {L"S-1", L"A B]"}, L"Ding", L"C:\\d.wav");
    EXPECT_EQ(backupEntriesFor(doc, BackupOwner{L"S-1", L"A B]"}), (std::vector<BackupEntry>{{L"Ding", L"C:\\d.wav"}}));
}

TEST(BackupOwner, TwoOwnersOfOneFileNeverLoseASoundInAnyOrderOfMutesRestoresAndKills) {
    // Each order is a run of steps over one shared file: M mutes and R restores Alice's
    // scheme, m and r Bob's; a mute that follows a mute of the same owner is the next run of
    // a copy killed while muted.
    for (const std::string order : {"MmRr", "MmrR", "mMRr", "MRmr", "MmMrR", "MmRMrR", "mMrmMRrR"}) {
        MemorySettingsStorage file(std::wstring(L"[main]\r\nstyle=2\r\n"));
        Account alice(ALICE, L"alice");
        Account bob(BOB, L"bob");
        for (char step : order) {
            Account& who = (step == 'M' || step == 'R') ? alice : bob;
            if (step == 'M' || step == 'm') who.mute(file);
            if (step == 'R' || step == 'r') who.restore(file);
            // Whoever is muted still has every sound in the file, under its own name.
            for (Account* account : {&alice, &bob})
                EXPECT_EQ(lostSounds(account->original, account->registry, file), std::vector<std::wstring>{})
                    << order << " after " << step;
        }
        EXPECT_TRUE(alice.isBack()) << order;
        EXPECT_TRUE(bob.isBack()) << order;
        EXPECT_EQ(sectionNames(file), std::vector<std::wstring>{L"main"}) << order;
    }
}

TEST(BackupOwner, ARestoreLeavesAnotherOwnersLinesAlone) {
    MemorySettingsStorage file;
    Account alice(ALICE, L"alice");
    Account aliceAtHome(ALICE_AT_HOME, L"home");
    alice.mute(file);
    // The other computer syncs the file, its own sounds still playing: its Exit restores
    // nothing of the first computer's, and drops nothing of it.
    aliceAtHome.restore(file);
    EXPECT_TRUE(aliceAtHome.isBack());
    EXPECT_EQ(linesOf(file, ALICE).size(), 3u);
    aliceAtHome.mute(file);
    EXPECT_TRUE(aliceAtHome.isMuted());
    EXPECT_EQ(linesOf(file, ALICE_AT_HOME).size(), 3u);
    alice.restore(file);
    EXPECT_TRUE(alice.isBack());
    EXPECT_EQ(linesOf(file, ALICE_AT_HOME).size(), 3u);
    aliceAtHome.restore(file);
    EXPECT_TRUE(aliceAtHome.isBack());
    EXPECT_EQ(file.text(), L"");
}

TEST(BackupOwner, WhenTheOwnerCantBeLearntNothingIsMutedAndOnlyUntaggedLinesAreRestored) {
    MemorySoundRegistry r = schemeOf(ALICE, L"a");
    r.whose.reset();
    r.events[L"MailBeep"].path = L"";
    const MemorySoundRegistry before = r;
    MemorySettingsStorage file(std::wstring(L"[sysSndBackup]\r\nMailBeep=C:\\a\\mail.wav\r\n"));
    AppSettings s;
    muteSystemSounds(s, r, file);
    EXPECT_EQ(r.events, before.events);
    EXPECT_FALSE(s.sysSoundsMuted);
    restoreSystemSounds(s, r, file);
    EXPECT_EQ(r.path(L"MailBeep"), L"C:\\a\\mail.wav");
    EXPECT_EQ(file.text(), L"");
}

TEST(UntaggedBackup, IsGivenBackIntoBlankSoundsAndOtherwiseLeftForItsOwner) {
    // Written by a version that named no owner, then killed while muted: Alice's scheme is
    // blank, Bob's is not, and Bob lacks an event that only Alice's programs made.
    const std::wstring legacy = L"[main]\r\nautoMuteSys=1\r\n[sysSndBackup]\r\n.Default=C:\\alice\\default.wav\r\n"
                                L"MailBeep=C:\\alice\\mail.wav\r\nAliceApp=C:\\alice\\app.wav\r\n";
    MemorySettingsStorage file(legacy);
    Account bob(BOB, L"bob");
    bob.mute(file);
    bob.restore(file);
    EXPECT_TRUE(bob.isBack());
    EXPECT_EQ(file.text(), legacy);  // Bob's sounds play: none of those lines is his to settle

    MemorySoundRegistry alice = schemeOf(ALICE, L"alice");
    alice.add(L"AliceApp", L"C:\\alice\\app.wav");
    const MemorySoundRegistry aliceBefore = alice;
    for (auto& [event, sound] : alice.events) sound.path = L"";
    alice.events[L"SystemExit"].path = L"C:\\alice\\chosen since.wav";
    AppSettings s;
    muteSystemSounds(s, alice, file);
    restoreSystemSounds(s, alice, file);
    EXPECT_EQ(alice.path(L".Default"), aliceBefore.events.at(L".Default").path);
    EXPECT_EQ(alice.path(L"MailBeep"), aliceBefore.events.at(L"MailBeep").path);
    EXPECT_EQ(alice.path(L"AliceApp"), L"C:\\alice\\app.wav");
    EXPECT_EQ(alice.path(L"SystemExit"), L"C:\\alice\\chosen since.wav");
    EXPECT_EQ(file.text(), L"[main]\r\nautoMuteSys=1\r\n");
}

TEST(RestoreSystemSounds, KeepsCommentsAndNotesWrittenInsideOrAfterTheBackup) {
    MemorySoundRegistry r = schemeOf(ALICE, L"a");
    const MemorySoundRegistry original = r;
    MemorySettingsStorage file(std::wstring(L"[main]\r\nstyle=2\r\n"));
    AppSettings s;
    muteSystemSounds(s, r, file);
    // The user notes something among the backup's lines and after them, as in any section.
    IniDocument edited = parseIni(file.text());
    edited.lines.insert(edited.lines.begin() + 4, makeIniLine(L"; muted for the recording on Monday"));
    edited.lines.push_back(makeIniLine(L""));
    edited.lines.push_back(makeIniLine(L"; remember: the sounds come back on Exit"));
    file = MemorySettingsStorage(formatIni(edited));
    restoreSystemSounds(s, r, file);
    EXPECT_EQ(r.events, original.events);
    EXPECT_EQ(file.text(), L"[main]\r\nstyle=2\r\n[" + backupSectionName(ALICE) +
                               L"]\r\n; muted for the recording on Monday\r\n\r\n; remember: the sounds come back on Exit\r\n");
    // The next mute adds its lines under the same header, and the next restore leaves the
    // notes as they are.
    muteSystemSounds(s, r, file);
    restoreSystemSounds(s, r, file);
    EXPECT_EQ(r.events, original.events);
    EXPECT_EQ(sectionNames(file), (std::vector<std::wstring>{L"main", backupSectionName(ALICE)}));
    EXPECT_NE(file.text().find(L"; remember: the sounds come back on Exit\r\n"), std::wstring::npos);
}

namespace {

// The journal of one mute and one restore, with the file and the registry noting into it.
struct Journalled {
    MemorySoundRegistry registry = schemeOf(ALICE, L"a");
    MemorySettingsStorage file{std::wstring(L"[main]\r\nstyle=2\r\n")};
    std::vector<std::string> journal;
    AppSettings s;
    Journalled() {
        registry.journal = &journal;
        file.journal = &journal;
    }
    std::size_t first(const std::string& prefix) const {
        const auto at = std::find_if(journal.begin(), journal.end(), [&](const std::string& e) { return e.starts_with(prefix); });
        return static_cast<std::size_t>(at - journal.begin());
    }
    std::size_t last(const std::string& prefix) const {
        for (std::size_t i = journal.size(); i-- > 0;)
            if (journal[i].starts_with(prefix)) return i;
        return journal.size();
    }
};

}  // namespace

TEST(SystemSounds, TheBackupIsOnTheDiskBeforeASoundIsBlankedAndTheSoundsBeforeALineIsDropped) {
    Journalled mute;
    muteSystemSounds(mute.s, mute.registry, mute.file);
    EXPECT_LT(mute.first("file replace"), mute.first("file flush"));
    EXPECT_LT(mute.first("file flush"), mute.first("registry blank .Default"));
    EXPECT_EQ(mute.file.flushes, 1);
    EXPECT_EQ(mute.registry.flushes, 0);

    Journalled restore;
    muteSystemSounds(restore.s, restore.registry, restore.file);
    restore.journal.clear();
    restoreSystemSounds(restore.s, restore.registry, restore.file);
    EXPECT_LT(restore.last("registry restore"), restore.first("registry flush"));
    EXPECT_LT(restore.first("registry flush"), restore.first("file replace"));
    EXPECT_EQ(restore.registry.flushes, 1);
    EXPECT_EQ(restore.first("file flush"), restore.journal.size());  // a line dropped late loses nothing
}

TEST(SystemSounds, WithoutTheFlushNoSoundIsBlankedAndNoLineDropped) {
    Journalled mute;
    mute.file.refusesFlush = true;
    muteSystemSounds(mute.s, mute.registry, mute.file);
    EXPECT_EQ(mute.first("registry blank .Default"), mute.journal.size());
    EXPECT_EQ(mute.registry.path(L".Default"), L"C:\\a\\default.wav");

    Journalled restore;
    muteSystemSounds(restore.s, restore.registry, restore.file);
    const std::wstring muted = restore.file.text();
    restore.registry.refusesFlush = true;
    restoreSystemSounds(restore.s, restore.registry, restore.file);
    EXPECT_EQ(restore.file.text(), muted);
    EXPECT_EQ(restore.registry.path(L".Default"), L"C:\\a\\default.wav");
    // Once the registry can be flushed, the next restore finds the sounds back and drops the lines.
    restore.registry.refusesFlush = false;
    restoreSystemSounds(restore.s, restore.registry, restore.file);
    EXPECT_EQ(restore.file.text(), L"[main]\r\nstyle=2\r\n");
}
