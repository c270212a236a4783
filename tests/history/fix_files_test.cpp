// Fix files and data\history.dat on the prefix's file system.

#include "engine/known_items.h"
#include "history/fix_files.h"
#include "history/manual_save.h"
#include "history/restore.h"
#include "history/time_text.h"
#include "platform/clock.h"
#include "shell/core/data_path.h"
#include "tests/support/data_folder.h"
#include "tests/support/file_rights.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace testing_support;

constexpr std::int64_t kFixTime = 1796700000;  // December 2026

engine::StartupItem RunEntry(const std::string& name, const std::string& command,
                             HKEY root = HKEY_CURRENT_USER) {
    engine::StartupItem item;
    item.name = name;
    item.command = command;
    item.location = std::string(root == HKEY_CURRENT_USER ? "HKCU\\" : "HKLM\\") + kRunKey;
    return item;
}

class FixFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        platform::SetClockOverride([this] { return now_; });
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }

    // Writes a fix of the given entries as the writers do.
    std::string WriteFix(const std::vector<engine::StartupItem>& entries,
                         const std::string& action = history::kManualFixAction) {
        history::FixWriter fix;
        EXPECT_TRUE(fix.Begin());
        for (const auto& entry : entries) {
            EXPECT_TRUE(fix.Record(entry));
        }
        EXPECT_TRUE(fix.Finish(history::InsertNumber(history::kManualFixRemarks,
                                                     static_cast<long long>(entries.size())),
                               action));
        return fix.FixFilePath();
    }

    std::int64_t now_ = kFixTime;
    MessageBoxRecorder boxes_;
};

std::string ExpectedStamp(std::int64_t utc) {
    SYSTEMTIME local;
    EXPECT_TRUE(platform::LocalTimeOf(utc, local));
    char text[32];
    std::snprintf(text, sizeof text, "%02d%02d%04d%02d%02d%02d", local.wMonth, local.wDay,
                  local.wYear, local.wHour, local.wMinute, local.wSecond);
    return text;
}

TEST_F(FixFilesTest, AFixWritesItsFileAndOneHistoryRecordByteForByte) {
    const auto skype = RunEntry("Skype", "c:\\skype.exe /min");
    const auto steam = RunEntry("Steam", "c:\\steam.exe", HKEY_LOCAL_MACHINE);
    const std::string path = WriteFix({skype, steam});
    EXPECT_EQ(path, shell::DataPath("data\\" + ExpectedStamp(kFixTime) + ".dat"));

    const std::string fixBytes = ReadFileBytes(path);
    ASSERT_EQ(fixBytes.size(), 2u * 2340);
    EXPECT_STREQ(fixBytes.data() + 2340 + 0, steam.location.c_str());
    EXPECT_STREQ(fixBytes.data() + 2340 + 1040, "Steam");
    EXPECT_STREQ(fixBytes.data() + 2340 + 1300, "c:\\steam.exe");

    const std::string historyBytes = ReadFileBytes(history::HistoryFilePath());
    ASSERT_EQ(historyBytes.size(), 788u);
    EXPECT_STREQ(historyBytes.data(), "2 Programs fixed successfully");
    std::int64_t stored;
    std::memcpy(&stored, historyBytes.data() + 260, 8);  // the prefix runs little-endian
    EXPECT_EQ(stored, kFixTime);
    EXPECT_STREQ(historyBytes.data() + 268, "Manual Fix");
    EXPECT_STREQ(historyBytes.data() + 528, path.c_str());

    std::vector<engine::StartupItem> read;
    ASSERT_EQ(history::ReadFixFile(path, read), history::ReadOutcome::Read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].name, "Skype");
    EXPECT_EQ(read[0].command, skype.command);
    EXPECT_EQ(read[0].location, skype.location);
    EXPECT_FALSE(read[0].enabled);
}

TEST_F(FixFilesTest, TwoFixesInOneSecondGetTwoFilesAndKeepBothRecords) {
    const std::string first = WriteFix({RunEntry("One", "1.exe")});
    const std::string second = WriteFix({RunEntry("Two", "2.exe")});
    ASSERT_NE(first, second);
    EXPECT_EQ(second, history::FixFilePathOf(kFixTime + 1));

    std::vector<engine::StartupItem> items;
    history::ReadFixFile(first, items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "One");
    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 2u);
    EXPECT_EQ(fixes[0].fixTime, kFixTime);
    EXPECT_EQ(fixes[1].fixTime, kFixTime + 1);  // the time names its file
    EXPECT_EQ(fixes[1].fixFilePath, second);
}

TEST_F(FixFilesTest, HistoryListsOnlyFixesWhoseFileExists) {
    const std::string first = WriteFix({RunEntry("One", "1.exe")});
    now_ += 60;
    WriteFix({RunEntry("Two", "2.exe")});
    ::DeleteFileA(first.c_str());
    EXPECT_EQ(history::ReadHistory().size(), 2u);
    const auto listed = history::ListedFixes();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].remarks, "1 Programs fixed successfully");
    EXPECT_EQ(history::DisplayTimeText(listed[0].fixTime).size(), 19u);
}

TEST_F(FixFilesTest, ATornHistoryFileIsReadWithoutItsFragmentAndAppendedOnABoundary) {
    for (size_t fragment : {size_t{1}, size_t{100}, size_t{268}, size_t{787}}) {
        ResetDataFolder();
        WriteFix({RunEntry("One", "1.exe")});
        const std::string historyPath = history::HistoryFilePath();
        // A crash during the second append left part of its record.
        const std::string whole = ReadFileBytes(historyPath);
        WriteFile(historyPath, whole + whole.substr(0, fragment));
        ASSERT_EQ(history::ReadHistory().size(), 1u) << fragment;

        now_ += 10;
        WriteFix({RunEntry("Two", "2.exe")});
        EXPECT_EQ(ReadFileBytes(historyPath).size(), 2u * 788) << fragment;
        const auto records = history::ReadHistory();
        ASSERT_EQ(records.size(), 2u) << fragment;
        EXPECT_EQ(records[1].fixTime, now_) << fragment;
        EXPECT_EQ(records[1].action, "Manual Fix") << fragment;
    }
}

TEST_F(FixFilesTest, ATornFixFileKeepsItsWholeRecords) {
    const std::string path = WriteFix({RunEntry("One", "1.exe"), RunEntry("Two", "2.exe")});
    for (size_t cut : {size_t{2340 + 1}, size_t{2340 + 1040}, size_t{2 * 2340 - 1}}) {
        const std::string bytes = ReadFileBytes(path);
        WriteFile(path + ".torn", bytes.substr(0, cut));
        std::vector<engine::StartupItem> items;
        ASSERT_EQ(history::ReadFixFile(path + ".torn", items), history::ReadOutcome::Read);
        ASSERT_EQ(items.size(), 1u) << cut;
        EXPECT_EQ(items[0].name, "One");
    }
}

TEST_F(FixFilesTest, RestoreRewritesTheFixFileWithTheRestAndDeletesItWhenEmpty) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Alpha", "a.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Beta", "b.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Gamma", "c.exe");
    std::vector<engine::StartupItem> entries = {
        RunEntry("Alpha", "a.exe"), RunEntry("Beta", "b.exe"), RunEntry("Gamma", "c.exe")};
    std::vector<history::ManualChange> changes;
    for (auto& entry : entries) {
        changes.push_back({&entry, false});
    }
    ASSERT_EQ(history::SaveManualChanges(changes, engine::ReportStyle::Free()).switchedOff, 3);
    const auto fix = history::ListedFixes().at(0);
    EXPECT_EQ(fix.remarks, "3 Programs fixed successfully");

    std::vector<engine::StartupItem> stored;
    history::ReadFixFile(fix.fixFilePath, stored);
    const size_t knownBefore =
        engine::KnownStartupItems().WithItems([](auto& i) { return i.size(); });
    auto outcome = history::RestoreFixEntries(fix.fixFilePath, stored, {false, true, false});
    EXPECT_EQ(outcome.restored, 1);
    EXPECT_EQ(outcome.failed, 0);
    EXPECT_TRUE(outcome.fixFileWritten);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Beta"), "b.exe");
    EXPECT_EQ(engine::KnownStartupItems().WithItems([](auto& i) { return i.size(); }),
              knownBefore + 1);

    std::vector<engine::StartupItem> rest;
    history::ReadFixFile(fix.fixFilePath, rest);
    ASSERT_EQ(rest.size(), 2u);
    EXPECT_EQ(rest[0].name, "Alpha");
    EXPECT_EQ(rest[1].name, "Gamma");
    EXPECT_FALSE(FileExists(fix.fixFilePath + ".new"));

    outcome = history::RestoreFixEntries(fix.fixFilePath, rest, {true, true});
    EXPECT_EQ(outcome.restored, 2);
    EXPECT_TRUE(outcome.fixFileDeleted);
    EXPECT_FALSE(FileExists(fix.fixFilePath));
    EXPECT_TRUE(history::ListedFixes().empty());
    EXPECT_EQ(history::ReadHistory().size(), 1u);  // the record itself stays
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Gamma"), "c.exe");
}

TEST_F(FixFilesTest, AnEntryThatCantBePutBackKeepsItsRecord) {
    CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Alpha", "a.exe");
    engine::StartupItem tool{"Tool", "C:\\windows\\notepad.exe ", "Startup", true};
    engine::StartupItem alpha = RunEntry("Alpha", "a.exe");
    ASSERT_EQ(
        history::SaveManualChanges({{&tool, false}, {&alpha, false}}, engine::ReportStyle::Free())
            .switchedOff,
        2);
    const auto fix = history::ListedFixes().at(0);
    ::DeleteFileA((PssFolder() + "Tool.lnk.Startup").c_str());  // the backup is gone
    std::vector<engine::StartupItem> stored;
    history::ReadFixFile(fix.fixFilePath, stored);
    MessageBoxRecorder boxes;
    const auto outcome = history::RestoreFixEntries(fix.fixFilePath, stored, {true, true});
    EXPECT_EQ(outcome.failed, 1);
    EXPECT_TRUE(outcome.fixFileWritten);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to enable Tool");
    std::vector<engine::StartupItem> rest;
    history::ReadFixFile(fix.fixFilePath, rest);
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].name, "Tool");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Alpha"), "a.exe");
}

TEST_F(FixFilesTest, AFailedRewriteKeepsTheOldFixFile) {
    const std::string path = WriteFix({RunEntry("One", "1.exe"), RunEntry("Two", "2.exe")});
    const std::string before = ReadFileBytes(path);
    // The new file can't be made: a folder holds its name.
    ASSERT_TRUE(::CreateDirectoryA((path + ".new").c_str(), nullptr));
    EXPECT_FALSE(history::RewriteFixFile(path, {RunEntry("Two", "2.exe")}));
    EXPECT_EQ(ReadFileBytes(path), before);
    ::RemoveDirectoryA((path + ".new").c_str());
}

TEST_F(FixFilesTest, ManualSaveRecordsOnlyWhatWasSwitchedOff) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Real", "real.exe");
    auto real = RunEntry("Real", "real.exe");
    auto gone = RunEntry("Gone", "gone.exe");  // no such value: the switch fails
    const auto outcome =
        history::SaveManualChanges({{&gone, false}, {&real, false}}, engine::ReportStyle::Free());
    EXPECT_EQ(outcome.changed, 2);
    EXPECT_EQ(outcome.switchedOff, 1);
    EXPECT_FALSE(real.enabled);
    EXPECT_TRUE(gone.enabled);
    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].remarks, "1 Programs fixed successfully");
    EXPECT_EQ(fixes[0].action, "Manual Fix");
    std::vector<engine::StartupItem> items;
    history::ReadFixFile(fixes[0].fixFilePath, items);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "Real");
}

TEST_F(FixFilesTest, ASaveThatSwitchedNothingOffLeavesNoTrace) {
    auto gone = RunEntry("Gone", "gone.exe");
    const auto failed = history::SaveManualChanges({{&gone, false}}, engine::ReportStyle::Free());
    EXPECT_FALSE(failed.recorded);
    // Switching on only: nothing to record either.
    auto stored = RunEntry("Stored", "s.exe");
    stored.enabled = false;
    history::SaveManualChanges({{&stored, true}}, engine::ReportStyle::Free());
    EXPECT_FALSE(FileExists(history::HistoryFilePath()));
    EXPECT_FALSE(FileExists(history::FixFilePathOf(kFixTime)));
}

}  // namespace

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    platform::unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr));
}

void GiveToEveryoneChecked(const std::string& path) {
    GiveToEveryone(path);
    ASSERT_TRUE(UsersMayWrite(path)) << path;
}

// The data folder lies where every user may create files first; Velbrook once read and
// replaced whatever it found there, with the rights its maker gave it.
TEST_F(FixFilesTest, ADataFolderAndHistoryMadeByAUserAreTakenBack) {
    const std::string data = shell::DataPath("data");
    const std::string root = data.substr(0, data.rfind('\\'));
    const std::string fix = WriteFix({RunEntry("One", "1.exe"), RunEntry("Two", "2.exe")});
    for (const std::string& path : {root, data, history::HistoryFilePath(), fix}) {
        GiveToEveryoneChecked(path);
    }
    ASSERT_TRUE(shell::PrepareDataFolder());
    for (const std::string& path : {root, data, history::HistoryFilePath(), fix}) {
        EXPECT_FALSE(UsersMayWrite(path)) << path;
    }
    // A replacement made ready by a user under the fix file's name plus ".new" keeps its
    // maker's rights once it has taken the fix file's place.
    WriteFileBytes(fix + ".new", "prepared");
    GiveToEveryoneChecked(fix + ".new");
    std::vector<engine::StartupItem> items;
    ASSERT_EQ(history::ReadFixFile(fix, items), history::ReadOutcome::Read);
    ASSERT_EQ(history::RemoveFromFixFile(fix, {items[0]}), history::FixFileChange::Written);
    EXPECT_FALSE(UsersMayWrite(fix));
}

// history.dat names its fix files by full path; one written by someone else once made the
// elevated program look at, read, rewrite or delete any path.
TEST_F(FixFilesTest, HistoryRecordsNamingOtherPathsAreListedButNeverTouched) {
    const std::string victim = "C:\\velbrook-victim.dat";
    const std::string victimBytes =
        history::EncodeFixedItemRecord({"HKCU\\x", "Victim", "v.exe"}, history::DataFileText());
    const std::string data = shell::DataPath("data");
    const std::vector<std::string> paths = {
        "\\\\host\\share\\x.dat",   "C:\\Windows\\win.ini",       victim,
        data + "\\..\\history.dat", "\\\\.\\" + data + "\\x.dat", "\\\\?\\" + victim,
        data + "\\sub\\x.dat"};
    std::string history;
    for (const auto& path : paths) {
        history += history::EncodeHistoryRecord(
            {"1 Programs fixed successfully", kFixTime, history::kManualFixAction, path},
            history::DataFileText());
    }
    WriteFileBytes(history::HistoryFilePath(), history);
    WriteFileBytes(victim, victimBytes);
    EXPECT_EQ(history::ListedFixes().size(), paths.size());
    for (const auto& path : paths) {
        std::vector<engine::StartupItem> items;
        DWORD error = 0;
        EXPECT_EQ(history::ReadFixFile(path, items, &error), history::ReadOutcome::Failed) << path;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED)) << path;
        EXPECT_TRUE(items.empty()) << path;
        EXPECT_FALSE(history::RewriteFixFile(path, {})) << path;
        EXPECT_EQ(history::RemoveFromFixFile(path, {}), history::FixFileChange::Failed) << path;
    }
    EXPECT_EQ(ReadFileBytes(victim), victimBytes);
    ::DeleteFileA(victim.c_str());
}

// A link in the data folder in a fix file's place leads to another file: it is not followed.
TEST_F(FixFilesTest, ALinkInTheDataFolderIsNeverFollowed) {
    const std::string victim = "C:\\velbrook-linked.dat";
    WriteFileBytes(victim, history::EncodeFixedItemRecord({"HKCU\\x", "Victim", "v.exe"},
                                                          history::DataFileText()));
    const std::string link = shell::DataPath("data\\10102026101010.dat");
    if (!::CreateSymbolicLinkA(link.c_str(), victim.c_str(), 0) ||
        !(::GetFileAttributesA(link.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT)) {
        ::DeleteFileA(victim.c_str());
        GTEST_SKIP() << "this Wine makes no file links";
    }
    std::vector<engine::StartupItem> items;
    EXPECT_NE(history::ReadFixFile(link, items), history::ReadOutcome::Read);
    EXPECT_TRUE(items.empty());
    EXPECT_TRUE(history::RewriteFixFile(link, {}));  // the link goes, not what it names
    EXPECT_NE(ReadFileBytes(victim), "<missing>");
    ::DeleteFileA(victim.c_str());
}

}  // namespace
