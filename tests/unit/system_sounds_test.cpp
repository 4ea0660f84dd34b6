#include "settings/system_sounds.h"

#include <gtest/gtest.h>

#include <memory>

#include "memory_sound_registry.h"
#include "settings/ini_document.h"
#include "settings/memory_settings_storage.h"

namespace {

using Entries = std::vector<IniEntry>;

MemorySoundRegistry typicalScheme() {
    MemorySoundRegistry r;
    r.add(L".Default", L"C:\\Windows\\media\\Windows Background.wav");
    r.add(L"SystemAsterisk", L"");
    r.add(L"MailBeep", L"%SystemRoot%\\media\\ding.wav", TYPE_EXPAND_SZ);
    r.add(L"Odd", L"", TYPE_DWORD);
    r.add(L"Notification.Default", L"D:\\sounds\\a=b==c.wav");
    r.add(L"SystemExit", L"C:\\\u30E6\u30FC\u30B6\u30FC\\\u30C1\u30E3\u30A4\u30E0\u266A.wav");
    return r;
}

MemorySettingsStorage fileOf(const std::wstring& text) { return MemorySettingsStorage(text); }

// The owner of the scheme of a MemorySoundRegistry, unless a test names another.
const BackupOwner OWNER = *MemorySoundRegistry{}.whose;
const std::wstring OWN_HEADER = L"[" + backupSectionName(OWNER) + L"]";

// The owner's backup lines, as a restore reads them.
Entries backupIn(const MemorySettingsStorage& storage) {
    return iniEntriesOfEverySection(parseIni(storage.text()), backupSectionName(OWNER));
}

// The typical scheme, muted into a settings file that had nothing else.
struct MutedScheme {
    const MemorySoundRegistry original = typicalScheme();
    MemorySoundRegistry registry = original;
    MemorySettingsStorage storage;
    AppSettings s;
    MutedScheme() { muteSystemSounds(s, registry, storage); }
    void restore() { restoreSystemSounds(s, registry, storage); }
};

struct SimulatedKill {};

// Ends the program at its step-th write, to the registry or to the file.
void killAtWrite(MemorySoundRegistry& registry, MemorySettingsStorage& storage, int step) {
    auto count = std::make_shared<int>(0);
    auto write = [count, step] {
        if ((*count)++ == step) throw SimulatedKill{};
    };
    registry.beforeWrite = write;
    storage.beforeReplace = write;
}

// Every registry write happens while the storage's lock is held.
void expectWritesUnderTheLock(MemorySoundRegistry& registry, const MemorySettingsStorage& storage, int& unlocked) {
    registry.beforeWrite = [&storage, &unlocked] {
        if (!storage.locked) ++unlocked;
    };
}

}  // namespace

TEST(MuteSystemSounds, BacksUpNonEmptyPlainStringsInOneWriteAndBlanksThem) {
    const MemorySoundRegistry original = typicalScheme();
    MemorySoundRegistry r = original;
    r.add(L"Huge", L"x");
    r.events[L"Huge"].tooLargeToRead = true;
    r.add(L"NoCurrent", L"y");
    r.events[L"NoCurrent"].hasCurrentKey = false;
    MemorySettingsStorage storage = fileOf(L"; mine\r\n[main]\r\nstyle=2\r\n");
    int unlocked = 0;
    expectWritesUnderTheLock(r, storage, unlocked);
    AppSettings s;
    muteSystemSounds(s, r, storage);

    EXPECT_EQ(backupIn(storage), (Entries{{L".Default", L"C:\\Windows\\media\\Windows Background.wav"},
                                          {L"Notification.Default", L"D:\\sounds\\a=b==c.wav"},
                                          {L"SystemExit", original.events.at(L"SystemExit").path}}));
    EXPECT_EQ(storage.replaces, 1);
    EXPECT_TRUE(storage.text().starts_with(L"; mine\r\n[main]\r\nstyle=2\r\n" + OWN_HEADER + L"\r\n"));
    EXPECT_EQ(r.path(L".Default"), L"");
    EXPECT_EQ(r.path(L"SystemExit"), L"");
    EXPECT_EQ(r.writes, 4);  // the already empty SystemAsterisk is blanked again
    EXPECT_EQ(r.events[L"MailBeep"], (MemoryEventSound{L"%SystemRoot%\\media\\ding.wav", TYPE_EXPAND_SZ}));
    EXPECT_EQ(r.events[L"Odd"].type, TYPE_DWORD);
    EXPECT_EQ(r.path(L"Huge"), L"x");
    EXPECT_EQ(r.path(L"NoCurrent"), L"y");
    EXPECT_EQ(unlocked, 0);
    EXPECT_FALSE(storage.locked);
    EXPECT_EQ(r.broadcasts, 1);
    EXPECT_TRUE(s.sysSoundsMuted);
    EXPECT_FALSE(r.schemeOpen);
}

TEST(MuteSystemSounds, NothingHappensWithoutTheSchemeOrTheLock) {
    for (bool lockTimesOut : {false, true}) {
        MemorySoundRegistry r = typicalScheme();
        r.schemeOpens = lockTimesOut;
        MemorySettingsStorage storage;
        storage.lockTimesOut = lockTimesOut;
        AppSettings s;
        muteSystemSounds(s, r, storage);
        EXPECT_EQ(storage.file.state, StoredFileState::Absent);
        EXPECT_EQ(r.writes, 0);
        EXPECT_EQ(r.broadcasts, 0);
        EXPECT_FALSE(s.sysSoundsMuted);
    }
}

TEST(MuteSystemSounds, NeverBlanksASoundWhoseBackupIsNotInTheFile) {
    // A read-only file or a full disk refuses the write; a file that can't be read can't be
    // written back without losing what it holds.
    MemorySettingsStorage readOnly = fileOf(L"[main]\r\nstyle=1\r\n");
    readOnly.refusesReplace = true;
    MemorySettingsStorage unreadable;
    unreadable.file = {StoredFileState::Unreadable, {}};
    for (MemorySettingsStorage* storage : {&readOnly, &unreadable}) {
        const MemorySoundRegistry original = typicalScheme();
        MemorySoundRegistry r = original;
        const std::string before = storage->file.bytes;
        AppSettings s;
        muteSystemSounds(s, r, *storage);
        EXPECT_EQ(r.events, original.events);
        EXPECT_EQ(lostSounds(original, r, *storage), std::vector<std::wstring>{});
        EXPECT_EQ(r.writes, 1);  // only the empty one, which needs no backup
        EXPECT_EQ(storage->file.bytes, before);
        EXPECT_TRUE(s.sysSoundsMuted);
    }
}

// The storage says the file was written, but the disk kept only the start of it.
class TruncatingStorage : public MemorySettingsStorage {
public:
    bool replace(const std::string& bytes) override {
        return MemorySettingsStorage::replace(bytes.substr(0, bytes.size() * 2 / 3 / 2 * 2));
    }
};

TEST(MuteSystemSounds, BlanksOnlySoundsWhoseBackupReadsBackFromTheFile) {
    MemorySoundRegistry original;
    for (int i = 0; i < 30; ++i) original.add(L"Event" + std::to_wstring(i), L"C:\\sound" + std::to_wstring(i) + L".wav");
    MemorySoundRegistry r = original;
    TruncatingStorage storage;
    AppSettings s;
    muteSystemSounds(s, r, storage);
    EXPECT_EQ(lostSounds(original, r, storage), std::vector<std::wstring>{});
    EXPECT_EQ(r.path(L"Event0"), L"");
    EXPECT_EQ(r.path(L"Event29"), original.path(L"Event29"));
}

TEST(MuteSystemSounds, BlanksASoundOnlyWhileItIsTheOneBackedUp) {
    MemorySoundRegistry r = typicalScheme();
    MemorySettingsStorage storage;
    // The user picks another sound while the backup is being written.
    storage.beforeReplace = [&r] { r.events[L".Default"].path = L"C:\\chosen meanwhile.wav"; };
    AppSettings s;
    muteSystemSounds(s, r, storage);
    EXPECT_EQ(r.path(L".Default"), L"C:\\chosen meanwhile.wav");
    EXPECT_EQ(r.path(L"SystemExit"), L"");
}

TEST(MuteSystemSounds, KeepsSoundsPlayingThatAnIniLineCannotCarryBack) {
    MemorySoundRegistry r;
    r.add(L"a=b", L"C:\\one.wav");
    r.add(L"[Group]", L"C:\\two.wav");
    r.add(L";Quiet", L"C:\\three.wav");
    r.add(L"Padded", L" C:\\four.wav ");
    r.add(L"Broken", L"C:\\five\r\n[main]\r\nscale=3000");
    r.add(L"Marked", L"\uFEFFC:\\seven.wav");
    r.add(L"Fine", L"C:\\six.wav");
    MemorySettingsStorage storage;
    AppSettings s;
    muteSystemSounds(s, r, storage);
    EXPECT_EQ(backupIn(storage), (Entries{{L"Fine", L"C:\\six.wav"}}));
    EXPECT_EQ(iniValue(parseIni(storage.text()), L"main", L"scale"), std::nullopt);
    for (const wchar_t* kept : {L"a=b", L"[Group]", L";Quiet", L"Padded", L"Broken", L"Marked"})
        EXPECT_NE(r.path(kept), L"") << std::wstring(kept).size();
    EXPECT_EQ(r.path(L"Fine"), L"");
}

TEST(MuteSystemSounds, BacksUpNonAsciiPathsIntoAFileThatWasAnsiOrUtf8) {
    for (const std::string& bytes : {std::string("[main]\r\nstyle=2\r\n; d\xE9j\xE0\r\n"),
                                     std::string("[main]\r\nstyle=2\r\n; d\xC3\xA9j\xC3\xA0\r\n")}) {
        MemorySoundRegistry r = typicalScheme();
        MemorySettingsStorage storage(bytes);
        AppSettings s;
        muteSystemSounds(s, r, storage);
        EXPECT_EQ(r.path(L"SystemExit"), L"");
        EXPECT_EQ(storage.file.bytes.substr(0, 2), "\xFF\xFE");
        EXPECT_TRUE(storage.text().starts_with(L"[main]\r\nstyle=2\r\n; d\u00E9j\u00E0\r\n"));
        restoreSystemSounds(s, r, storage);
        EXPECT_EQ(r.events, typicalScheme().events);
    }
}

TEST(RestoreSystemSounds, PutsBackExactlyWhatWasMutedAndDropsTheSection) {
    const MemorySoundRegistry original = typicalScheme();
    MemorySoundRegistry r = original;
    MemorySettingsStorage storage = fileOf(L"[main]\r\nstyle=2\r\n\r\n; end\r\n");
    int unlocked = 0;
    expectWritesUnderTheLock(r, storage, unlocked);
    AppSettings s;
    muteSystemSounds(s, r, storage);
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(r.events, original.events);
    EXPECT_EQ(storage.text(), L"[main]\r\nstyle=2\r\n\r\n; end\r\n");
    EXPECT_EQ(storage.replaces, 2);
    EXPECT_EQ(unlocked, 0);
    EXPECT_FALSE(s.sysSoundsMuted);
    EXPECT_EQ(r.broadcasts, 2);
}

TEST(RestoreSystemSounds, KeepsASoundTheUserChoseSinceTheMute) {
    MutedScheme muted;
    MemorySoundRegistry& r = muted.registry;
    r.events[L".Default"].path = L"C:\\new choice.wav";
    r.events[L"SystemExit"] = MemoryEventSound{L"%Media%\\other.wav", TYPE_EXPAND_SZ};
    muted.restore();
    EXPECT_EQ(r.path(L".Default"), L"C:\\new choice.wav");
    EXPECT_EQ(r.events[L"SystemExit"], (MemoryEventSound{L"%Media%\\other.wav", TYPE_EXPAND_SZ}));
    EXPECT_EQ(r.path(L"Notification.Default"), muted.original.events.at(L"Notification.Default").path);
    EXPECT_EQ(backupIn(muted.storage), Entries{});
}

TEST(RestoreSystemSounds, ReadsEverySectionOfADoubledBackupAndKeepsWhatTheUserWroteInIt) {
    MemorySoundRegistry r;
    for (const wchar_t* event : {L"MailBeep", L"Ding", L"Chord"}) r.add(event, L"");
    MemorySettingsStorage storage = fileOf(L"[sysSndBackup]\r\nMailBeep=C:\\mail.wav\r\n\r\n[main]\r\nstyle=2\r\n"
                                           L"[SYSSNDBACKUP]\r\nmailbeep=C:\\stale.wav\r\nDing=C:\\ding.wav\r\n"
                                           L"[sysSndBackup]\r\n; my note\r\nChord=C:\\chord.wav\r\n[color]\r\n"
                                           + OWN_HEADER + L"\r\nDing=C:\\own.wav\r\n; kept too\r\n");
    AppSettings s;
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(r.path(L"MailBeep"), L"C:\\mail.wav");
    EXPECT_EQ(r.path(L"Ding"), L"C:\\own.wav");  // the owner's line before an untagged one
    EXPECT_EQ(r.path(L"Chord"), L"C:\\chord.wav");
    // The stale repeat goes with the first line; the untagged Ding stays, as the owner's own
    // line gave that sound back, and the notes stay with their headers.
    EXPECT_EQ(storage.text(), L"[main]\r\nstyle=2\r\n[SYSSNDBACKUP]\r\nDing=C:\\ding.wav\r\n[sysSndBackup]\r\n; my note\r\n"
                              L"[color]\r\n" + OWN_HEADER + L"\r\n; kept too\r\n");
}

TEST(RestoreSystemSounds, DropsOwnLinesOfVanishedEventsAndKeepsLinesNoMuteWrites) {
    MemorySoundRegistry r;
    r.add(L"MailBeep", L"");
    r.add(L"a", L"");
    r.add(L"Mail", L"");
    // A NUL would cut "Mail\0Beep" to "Mail" on its way to the registry.
    const std::wstring cut(L"Mail\0Beep=C:\\cut.wav\n", 21);
    MemorySettingsStorage storage = fileOf(OWN_HEADER + L"\nGone=C:\\gone.wav\nmailbeep=C:\\x=y.wav\nnoequals\n"
                                           L"=C:\\nameless.wav\na\\b=C:\\nested.wav\n" + cut +
                                           L"a=C:\\" + std::wstring(1, L'\0') + L"tail.wav\n");
    AppSettings s;
    s.sysSoundsMuted = true;
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(r.events[L"MailBeep"], (MemoryEventSound{L"C:\\x=y.wav", TYPE_SZ}));
    EXPECT_EQ(r.path(L"a"), L"");
    EXPECT_EQ(r.path(L"Mail"), L"");
    EXPECT_EQ(r.writes, 1);
    EXPECT_EQ(storage.text(), OWN_HEADER + L"\r\nnoequals\r\n=C:\\nameless.wav\r\na\\b=C:\\nested.wav\r\n" +
                                  cut.substr(0, cut.size() - 1) + L"\r\na=C:\\" + std::wstring(1, L'\0') + L"tail.wav\r\n");
    EXPECT_FALSE(s.sysSoundsMuted);
}

TEST(RestoreSystemSounds, WithoutABackupWritesNothingButStillBroadcastsAndClearsTheFlag) {
    MemorySoundRegistry r = typicalScheme();
    const auto before = r.events;
    for (MemorySettingsStorage storage : {fileOf(L"[main]\nstyle=1\n"), MemorySettingsStorage{}}) {
        AppSettings s;
        s.sysSoundsMuted = true;
        restoreSystemSounds(s, r, storage);
        EXPECT_EQ(r.events, before);
        EXPECT_EQ(storage.replaces, 0);
        EXPECT_FALSE(s.sysSoundsMuted);
    }
    EXPECT_EQ(r.broadcasts, 2);
}

TEST(RestoreSystemSounds, LeavesEverythingWithoutTheSchemeTheLockOrAReadableFile) {
    for (int failure = 0; failure < 3; ++failure) {
        MemorySoundRegistry r;
        r.add(L"SystemAsterisk", L"");
        r.schemeOpens = failure != 0;
        MemorySettingsStorage storage = fileOf(L"[sysSndBackup]\nSystemAsterisk=C:\\a.wav\n");
        storage.lockTimesOut = failure == 1;
        if (failure == 2) storage.file.state = StoredFileState::Unreadable;
        AppSettings s;
        s.sysSoundsMuted = true;
        restoreSystemSounds(s, r, storage);
        EXPECT_EQ(r.path(L"SystemAsterisk"), L"") << failure;
        EXPECT_EQ(storage.replaces, 0) << failure;
        EXPECT_EQ(r.broadcasts, 0) << failure;
        EXPECT_TRUE(s.sysSoundsMuted) << failure;
    }
}

TEST(RestoreSystemSounds, KeepsTheEntriesOfSoundsItCouldNotLookAtOrWrite) {
    MemorySoundRegistry r;
    r.add(L"Locked", L"");
    r.events[L"Locked"].refusesWrites = true;
    r.add(L"Hidden", L"");
    r.events[L"Hidden"].refusesReads = true;
    r.add(L"Open", L"");
    MemorySettingsStorage storage = fileOf(OWN_HEADER + L"\nLocked=C:\\locked.wav\nOpen=C:\\open.wav\n"
                                           L"Hidden=C:\\hidden.wav\nGone=C:\\gone.wav\n");
    AppSettings s;
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(r.path(L"Open"), L"C:\\open.wav");
    EXPECT_EQ(backupIn(storage), (Entries{{L"Locked", L"C:\\locked.wav"}, {L"Hidden", L"C:\\hidden.wav"}}));
    EXPECT_FALSE(s.sysSoundsMuted);
}

TEST(RestoreSystemSounds, WhenTheFileCantBeWrittenTheSoundsComeBackAndTheNextRestoreKeepsThem) {
    MutedScheme muted;
    muted.storage.refusesReplace = true;
    muted.restore();
    EXPECT_EQ(muted.registry.events, muted.original.events);
    muted.registry.events[L".Default"].path = L"C:\\later choice.wav";
    muted.restore();
    EXPECT_EQ(muted.registry.path(L".Default"), L"C:\\later choice.wav");
}

TEST(RestoreSystemSounds, RestoresABackupOfAnySize) {
    MemorySoundRegistry original;
    for (int i = 0; i < 500; ++i)
        original.add(L"Event" + std::to_wstring(i), L"C:\\" + std::wstring(200, L'p') + std::to_wstring(i) + L".wav");
    MemorySoundRegistry r = original;
    MemorySettingsStorage storage;
    AppSettings s;
    muteSystemSounds(s, r, storage);
    ASSERT_GT(storage.file.bytes.size(), 100000u);
    ASSERT_EQ(r.path(L"Event499"), L"");
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(r.events, original.events);
    EXPECT_EQ(storage.replaces, 2);
}

TEST(RestoreSystemSounds, BringsBackWhatAKilledRunMuted) {
    MutedScheme killed;
    const std::string firstBackup = killed.storage.file.bytes;
    AppSettings next;  // the next run mutes again over the blank scheme, then restores
    muteSystemSounds(next, killed.registry, killed.storage);
    EXPECT_EQ(killed.storage.file.bytes, firstBackup);
    restoreSystemSounds(next, killed.registry, killed.storage);
    EXPECT_EQ(killed.registry.events, killed.original.events);
}

TEST(SystemSounds, TheFlagTellsTheTruthWhileTheBroadcastWaitsOnOtherWindows) {
    // Other windows may send this one a command meanwhile, which reads the flag.
    MemorySoundRegistry r = typicalScheme();
    MemorySettingsStorage storage;
    AppSettings s;
    std::vector<bool> flags;
    int locked = 0;
    r.duringBroadcast = [&] {
        flags.push_back(s.sysSoundsMuted);
        locked += storage.locked;  // and another copy waiting for the lock is not kept waiting
    };
    muteSystemSounds(s, r, storage);
    restoreSystemSounds(s, r, storage);
    EXPECT_EQ(flags, (std::vector<bool>{true, false}));
    EXPECT_EQ(locked, 0);
}

TEST(SystemSounds, AKillAtAnyWriteOfAMuteOrARestoreLosesNoSound) {
    const MemorySoundRegistry original = typicalScheme();
    for (bool killTheRestore : {false, true}) {
        for (int step = 0;; ++step) {
            MemorySoundRegistry r = original;
            MemorySettingsStorage storage = fileOf(L"[main]\r\nautoMuteSys=1\r\n");
            AppSettings s;
            if (killTheRestore) muteSystemSounds(s, r, storage);
            killAtWrite(r, storage, step);
            bool killed = false;
            try {
                killTheRestore ? restoreSystemSounds(s, r, storage) : muteSystemSounds(s, r, storage);
            } catch (const SimulatedKill&) {
                killed = true;
            }
            EXPECT_EQ(lostSounds(original, r, storage), std::vector<std::wstring>{}) << killTheRestore << " " << step;
            r.beforeWrite = nullptr;
            storage.beforeReplace = nullptr;
            AppSettings nextRun;
            muteSystemSounds(nextRun, r, storage);
            restoreSystemSounds(nextRun, r, storage);
            EXPECT_EQ(r.events, original.events) << killTheRestore << " " << step;
            EXPECT_EQ(sectionNames(storage), std::vector<std::wstring>{L"main"}) << killTheRestore << " " << step;
            if (!killed) break;
        }
    }
}
