// Inputs the fuzz targets found faults with, replayed through the same checks. Each is also
// a seed in fuzz/seeds/, so the fuzzers start from it.
#include <gtest/gtest.h>

#include <string>

#include "fuzz/settings_load_check.h"

// fuzz/seeds/settings_load/duplicate_backup_entry.ini: the backup names MailBeep twice. The
// mute backed MailBeep's sound up over the first entry and the restore then wrote the second,
// stale one over it, so the user's sound was lost.
TEST(FuzzRegressions, ARepeatedBackupEntryDoesNotOverwriteTheRestoredSound) {
    const std::string input("[sysSndBackup]\nMailBeep=\nMailBeep=o\x01", 36);
    EXPECT_EQ(fuzz::checkSettingsFile(input), "");
}
