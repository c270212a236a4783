// The setup program and its uninstaller, run silently as an administrator runs them.

#include "engine/disabled_store.h"
#include "engine/shortcut.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"
#include "platform/unique_any.h"
#include "shell/core/data_path.h"
#include "shell/logon_task.h"
#include "tests/setup/setup_runner.h"
#include "tests/shell/scheduler_service.h"
#include "tests/support/data_folder.h"
#include "tests/support/file_rights.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_process.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace testing_support;
namespace reg = platform::reg;

std::string InstalledFile(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

// A top-level window titled "Velbrook" in this process, standing in for a running copy's main
// window (marked by a child with the header's Home button id) or, unmarked, for its alert. It
// records the close requests it gets; an obedient one ends on the program's exit request
// (WM_CLOSE with both parameters 1), a stubborn one ignores every request.
class StandInWindow {
public:
    explicit StandInWindow(bool obeysExitRequest, bool mainWindow = true)
        : obeys_(obeysExitRequest) {
        static const ATOM atom = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = &StandInWindow::Proc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "SetupTestStandIn";
            return ::RegisterClassA(&wc);
        }();
        window_ =
            ::CreateWindowExA(0, MAKEINTATOM(atom), "Velbrook", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                              nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        if (mainWindow) {
            ::CreateWindowExA(0, "STATIC", "Home", WS_CHILD, 0, 0, 10, 10, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(1071)),
                              ::GetModuleHandleA(nullptr), nullptr);
        }
    }
    ~StandInWindow() {
        if (::IsWindow(window_)) {
            ::DestroyWindow(window_);
        }
    }
    bool alive() const { return ::IsWindow(window_) != FALSE; }
    const std::vector<std::pair<WPARAM, LPARAM>>& closeRequests() const { return requests_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<StandInWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_CLOSE && self) {
            self->requests_.emplace_back(wParam, lParam);
            if (self->obeys_ && wParam == 1 && lParam == 1) {
                ::DestroyWindow(window);
            }
            return 0;
        }
        return ::DefWindowProcA(window, message, wParam, lParam);
    }

    bool obeys_;
    HWND window_ = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> requests_;
};

class SetupProgram : public ::testing::Test {
protected:
    void SetUp() override {
        UninstallIfInstalled();
        ResetStartupSources();
        ResetDataFolder();
    }
    void TearDown() override { UninstallIfInstalled(); }
};

TEST_F(SetupProgram, SilentInstallPlacesFilesShortcutAndUninstallEntry) {
    ASSERT_EQ(RunSetup("/S"), 0u);
    const std::string folder = DefaultInstallFolder();
    for (const std::string& name : ShippedFiles()) {
        EXPECT_TRUE(FileExists(InstalledFile(folder, name))) << name;
    }
    EXPECT_TRUE(FileExists(InstalledFile(folder, "uninstall.exe")));

    const std::string shortcut =
        platform::ShellFolderPath(CSIDL_COMMON_PROGRAMS) + "\\Velbrook.lnk";
    ASSERT_TRUE(FileExists(shortcut));
    EXPECT_EQ(engine::ResolveShortcutCommand(shortcut),
              InstalledFile(folder, "Velbrook.exe") + " ");

    EXPECT_EQ(UninstallValue("DisplayName"), "Velbrook");
    EXPECT_EQ(UninstallValue("DisplayVersion"), VELBROOK_VERSION);
    EXPECT_EQ(UninstallValue("Publisher"), "Velbrook");
    EXPECT_EQ(UninstallValue("DisplayIcon"), InstalledFile(folder, "Velbrook.exe") + ",0");
    EXPECT_EQ(UninstallValue("InstallLocation"), folder);
    const std::string uninstaller = Quoted(InstalledFile(folder, "uninstall.exe"));
    EXPECT_EQ(UninstallValue("UninstallString"), uninstaller);
    EXPECT_EQ(UninstallValue("QuietUninstallString"), uninstaller + " /S");
    // Apps & features shows the size in KiB: at least the program files.
    EXPECT_GE(UninstallSizeKiB(), 100u);

    // The installed console program runs from its folder.
    EXPECT_EQ(RunProcess(Quoted(InstalledFile(folder, "velbrookc.exe")) + " status").exitCode, 0u);

    ASSERT_EQ(RunQuietUninstall(), 0u);
    for (const std::string& name : ShippedFiles()) {
        EXPECT_FALSE(FileExists(InstalledFile(folder, name))) << name;
    }
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kSetupView));
}

// A folder chosen with /D= once kept whatever rights it had: one that every user may write
// let any of them replace the program that runs elevated.
TEST_F(SetupProgram, ChosenFolderWithBlanksIsUsedAndUninstalledFrom) {
    const std::string folder = "C:\\Setup Test\\My Velbrook";
    ::CreateDirectoryA("C:\\Setup Test", nullptr);
    ::CreateDirectoryA(folder.c_str(), nullptr);
    GiveToEveryone(folder);
    ASSERT_TRUE(UsersMayWrite(folder));
    ASSERT_EQ(RunSetup("/S /D=" + folder), 0u);
    EXPECT_FALSE(UsersMayWrite(folder));
    for (const std::string& name : ShippedFiles()) {
        EXPECT_TRUE(FileExists(InstalledFile(folder, name))) << name;
    }
    EXPECT_EQ(UninstallValue("InstallLocation"), folder);
    EXPECT_FALSE(FileExists(InstalledFile(DefaultInstallFolder(), "velbrookc.exe")));

    // A second setup without /D= updates the copy where it is.
    ASSERT_EQ(RunSetup("/S"), 0u);
    EXPECT_FALSE(FileExists(InstalledFile(DefaultInstallFolder(), "velbrookc.exe")));

    ASSERT_EQ(RunQuietUninstall(), 0u);
    EXPECT_FALSE(FileExists(folder));
    ::RemoveDirectoryA("C:\\Setup Test");
}

// The silent uninstaller keeps the data and never touches the switched-off entries: the system
// configuration tool's store and its backup folder keep them, so they can still be switched
// on after Velbrook has gone.
TEST_F(SetupProgram, UninstallKeepsDataAndSwitchedOffEntries) {
    ASSERT_EQ(RunSetup("/S"), 0u);
    const std::string velbrookc =
        Quoted(InstalledFile(DefaultInstallFolder(), "velbrookc.exe")) + " ";

    SetRunValue(HKEY_CURRENT_USER, kRunKey, "SetupSurvivor", "survivor.exe -q");
    const std::string link =
        CreateShortcut(UserStartupFolder(), "SetupLink.lnk", "C:\\link.exe", "");
    ASSERT_EQ(RunProcess(velbrookc + "disable SetupSurvivor").exitCode, 0u);
    ASSERT_EQ(RunProcess(velbrookc + "disable SetupLink").exitCode, 0u);
    ASSERT_EQ(RunProcess(velbrookc + "ignore add SetupKeeps --command keeps.exe").exitCode, 0u);
    const std::string runStore = std::string(engine::kStoreRegistryPath) + "\\SetupSurvivor";
    const std::string linkStore =
        std::string(engine::kStoreFolderPath) + "\\" + engine::ShortcutStoreKeyName(link);
    const auto runStoreBefore = StoreKeyValues(runStore);
    const auto linkStoreBefore = StoreKeyValues(linkStore);
    ASSERT_FALSE(runStoreBefore.empty());
    ASSERT_FALSE(linkStoreBefore.empty());
    const std::string backup = PssFolder() + "SetupLink.lnk.Startup";
    ASSERT_TRUE(FileExists(backup));
    const std::string ignoreFile = shell::DataPath("data\\ignore.dat");
    const std::string ignoreBefore = ReadFileBytes(ignoreFile);
    ASSERT_NE(ignoreBefore, "<missing>");

    ASSERT_EQ(RunQuietUninstall(), 0u);
    EXPECT_EQ(ReadFileBytes(ignoreFile), ignoreBefore);
    EXPECT_EQ(StoreKeyValues(runStore), runStoreBefore);
    EXPECT_EQ(StoreKeyValues(linkStore), linkStoreBefore);
    EXPECT_TRUE(FileExists(backup));

    // The build's own console program stands in for the system configuration tool.
    EXPECT_EQ(RunVelbrookc("enable SetupSurvivor").exitCode, 0u);
    EXPECT_EQ(RunVelbrookc("enable SetupLink").exitCode, 0u);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "SetupSurvivor"), "survivor.exe -q");
    EXPECT_TRUE(FileExists(link));
}

// Both kinds: the Task Scheduler 2.0 task, and the version 1 work item of older versions.
TEST_F(SetupProgram, UninstallRemovesLogonTask) {
    SKIP_WITHOUT_SCHEDULER();
    const std::string name = shell::LogonTaskName();
    for (const bool version2 : {true, false}) {
        shell::DeleteStartupTask(name);
        ASSERT_EQ(RunSetup("/S"), 0u);
        if (version2) {
            ASSERT_TRUE(
                shell::RegisterLogonTask(name, "Velbrook.exe", "", DefaultInstallFolder(), "-t"));
        } else {
            ASSERT_EQ(shell::CreateStartupTask(name, "Velbrook.exe", "", DefaultInstallFolder(), 0,
                                               0, 0, TASK_EVENT_TRIGGER_AT_LOGON, "-t"),
                      shell::TaskChange::Created);
        }
        ASSERT_TRUE(shell::TaskExists(name));
        ASSERT_EQ(RunQuietUninstall(), 0u);
        EXPECT_FALSE(shell::TaskExists(name)) << (version2 ? "version 2" : "version 1");
    }
}

TEST_F(SetupProgram, RunningVelbrookIsAskedToExitBeforeFilesAreReplaced) {
    StandInWindow running(true);
    // Above it in the z-order, as the new-startup alert would be: not the window to close.
    StandInWindow alert(true, false);
    ASSERT_EQ(RunSetup("/S"), 0u);
    EXPECT_FALSE(running.alive());
    EXPECT_TRUE(alert.alive());
    EXPECT_TRUE(alert.closeRequests().empty());
    ASSERT_EQ(running.closeRequests().size(), 1u);
    EXPECT_EQ(running.closeRequests()[0], std::make_pair(WPARAM{1}, LPARAM{1}));
    EXPECT_TRUE(FileExists(InstalledFile(DefaultInstallFolder(), "velbrookc.exe")));

    // The uninstaller asks the same way.
    StandInWindow runningAgain(true);
    ASSERT_EQ(RunQuietUninstall(), 0u);
    EXPECT_FALSE(runningAgain.alive());
    EXPECT_FALSE(FileExists(DefaultInstallFolder()));
}

TEST_F(SetupProgram, VelbrookThatStaysOpenStopsTheSilentSetup) {
    StandInWindow stubborn(false);
    EXPECT_EQ(RunSetup("/S"), 2u);
    EXPECT_TRUE(stubborn.alive());
    EXPECT_GE(stubborn.closeRequests().size(), 2u);
    EXPECT_FALSE(FileExists(InstalledFile(DefaultInstallFolder(), "velbrookc.exe")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey, kSetupView));
}

TEST_F(SetupProgram, InstalledVelbrookStartsFromItsFolder) {
    const auto shipped = ShippedFiles();
    if (std::find(shipped.begin(), shipped.end(), "Velbrook.exe") == shipped.end()) {
        GTEST_SKIP() << "this build ships no Velbrook.exe";
    }
    ASSERT_EQ(RunSetup("/S"), 0u);
    SuppressStartupUpdateCheck();
    const std::string program = InstalledFile(DefaultInstallFolder(), "Velbrook.exe");
    RunningProgram velbrook(program);
    const HWND window = velbrook.WaitForWindow("Velbrook");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ProcessImagePath(window), program);
    ::SendMessageTimeoutA(window, WM_CLOSE, 1, 1, SMTO_NORMAL, 10000, nullptr);
    EXPECT_TRUE(velbrook.WaitForExit());
}

}  // namespace
