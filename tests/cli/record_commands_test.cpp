// velbrookc's scan, fix, history, restore, ignore and status commands, run as a user would.

#include "platform/unique_any.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace testing_support;
using nlohmann::json;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Output goes to files rather than pipes: a pipe stays open while any process that inherited
// it lives, a file is complete once the program has ended.
HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The build puts the program in dist/; Wine shows the Unix root as drive Z:.
std::string ProgramPath() {
    std::string path("Z:");
    path.append(VELBROOKC_PATH);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

ProgramRun Velbrookc(const std::string& arguments) {
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    const std::string outPath = std::string(folder) + "velbrookc_test.out";
    const std::string errPath = std::string(folder) + "velbrookc_test.err";
    ProgramRun run;
    {
        platform::unique_hfile out(InheritableFile(outPath, GENERIC_WRITE, CREATE_ALWAYS));
        platform::unique_hfile err(InheritableFile(errPath, GENERIC_WRITE, CREATE_ALWAYS));
        platform::unique_hfile in(InheritableFile("NUL", GENERIC_READ, OPEN_EXISTING));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = in.get();
        startup.hStdOutput = out.get();
        startup.hStdError = err.get();
        PROCESS_INFORMATION process{};
        std::string commandLine(1, '"');
        commandLine.append(ProgramPath()).append("\" ").append(arguments);
        if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                              nullptr, &startup, &process)) {
            run.err = "cannot start " + commandLine;
            return run;
        }
        platform::unique_handle processHandle(process.hProcess);
        platform::unique_handle thread(process.hThread);
        if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) {
            ::TerminateProcess(process.hProcess, 99);
            run.err = "timed out: " + commandLine;
            return run;
        }
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        run.exitCode = static_cast<int>(code);
    }
    run.out = ReadFileBytes(outPath);
    run.err += ReadFileBytes(errPath);
    return run;
}

json JsonOf(const ProgramRun& run) {
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return json::parse(run.out);
}

class RecordCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
    }
};

TEST_F(RecordCommandsTest, ScanListsScrapInOrderAndStoresTheScanStatus) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "steam.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Editor", "edit.exe");
    const json found = JsonOf(Velbrookc("scan --json"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]["name"], "Skype");
    EXPECT_EQ(found[0]["location"], std::string("HKCU\\") + kRunKey);
    EXPECT_EQ(found[0]["enabled"], true);
    EXPECT_EQ(found[1]["command"], "steam.exe");

    const json status = JsonOf(Velbrookc("status --json"));
    EXPECT_EQ(status["funwanted"], "2");
    EXPECT_EQ(status["scanstatus"], "0");
    EXPECT_EQ(status["lastscan"].get<std::string>().size(), 19u);
    EXPECT_EQ(status["cunwanted"], "");
    EXPECT_EQ(status.size(), 6u);
}

TEST_F(RecordCommandsTest, FixIsListedInTheHistoryAndRestoreTakesItBack) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "steam.exe");
    const json fixed = JsonOf(Velbrookc("fix --json"));
    ASSERT_EQ(fixed.size(), 2u);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "<missing>");

    const json status = JsonOf(Velbrookc("status --json"));
    EXPECT_EQ(status["scanstatus"], "1");
    EXPECT_EQ(status["cunwanted"], "2");
    EXPECT_EQ(status["remaining"], "0");

    const json fixes = JsonOf(Velbrookc("history --json"));
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0]["remarks"], "2 Scrap programs fixed successfully");
    EXPECT_EQ(fixes[0]["action"], "Automatic Fix");
    EXPECT_GT(fixes[0]["time"].get<long long>(), 1600000000LL);
    EXPECT_EQ(fixes[0]["time_text"].get<std::string>().size(), 19u);
    EXPECT_TRUE(FileExists(fixes[0]["fix_file"].get<std::string>()));

    const json entries = JsonOf(Velbrookc("history show 1 --json"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]["name"], "Skype");
    EXPECT_EQ(entries[1]["location"], std::string("HKLM\\") + kRunKey);

    EXPECT_EQ(Velbrookc("restore 1 Skype").exitCode, 0);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "skype.exe");
    EXPECT_EQ(JsonOf(Velbrookc("history show 1 --json")).size(), 1u);
    EXPECT_EQ(Velbrookc("restore 1 Nobody").exitCode, 2);
    EXPECT_EQ(Velbrookc("restore 1").exitCode, 0);
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam"), "steam.exe");
    EXPECT_TRUE(JsonOf(Velbrookc("history --json")).empty());
    EXPECT_EQ(Velbrookc("history show 1").exitCode, 2);
}

TEST_F(RecordCommandsTest, DisableRecordsAManualFix) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Editor", "edit.exe");
    ASSERT_EQ(Velbrookc("disable Editor").exitCode, 0);
    const json fixes = JsonOf(Velbrookc("history --json"));
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0]["remarks"], "1 Programs fixed successfully");
    EXPECT_EQ(fixes[0]["action"], "Manual Fix");
    EXPECT_EQ(JsonOf(Velbrookc("history show 1 --json"))[0]["command"], "edit.exe");
}

TEST_F(RecordCommandsTest, IgnoredEntriesLeaveTheScanUntilRemoved) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    ASSERT_EQ(Velbrookc("ignore add skype").exitCode, 2);  // no such listed entry, no command
    ASSERT_EQ(Velbrookc("ignore add Skype").exitCode, 0);
    ASSERT_EQ(Velbrookc("ignore add SKYPE --command other.exe").exitCode, 0);
    const json ignored = JsonOf(Velbrookc("ignore list --json"));
    ASSERT_EQ(ignored.size(), 2u);
    EXPECT_EQ(ignored[0]["command"], "skype.exe");  // taken from the listing
    EXPECT_TRUE(JsonOf(Velbrookc("scan --json")).empty());

    EXPECT_EQ(Velbrookc("ignore remove Nobody").exitCode, 2);
    ASSERT_EQ(Velbrookc("ignore remove skype").exitCode, 0);
    EXPECT_TRUE(JsonOf(Velbrookc("ignore list --json")).empty());
    EXPECT_EQ(JsonOf(Velbrookc("scan --json")).size(), 1u);
}

TEST_F(RecordCommandsTest, ANameTooLongForTheIgnoreListIsRefusedClearly) {
    const ProgramRun run = Velbrookc("ignore add " + std::string(300, 'n') + " --command x.exe");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("longer than 259 characters"), std::string::npos) << run.err;
    EXPECT_TRUE(JsonOf(Velbrookc("ignore list --json")).empty());
}

}  // namespace
