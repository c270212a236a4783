// The real Velbrook.exe: one copy per session, the tray and the close rules, the update check
// at start against the loopback version server, the staged Renovix and the shared table.

#include "platform/app_messages.h"
#include "shell/core/data_path.h"
#include "shell/core/settings_key.h"
#include "shell/core/swh_table.h"
#include "tests/support/data_folder.h"
#include "tests/support/velbrook_process.h"
#include "tests/update/version_server_client.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using testing_support::FindMainWindow;
using testing_support::FindMessageBox;
using testing_support::ProgramFolder;
using testing_support::RunningVelbrook;
using testing_support::WaitFor;

constexpr UINT kTrayIconId = 143;
constexpr UINT kTrayExit = 32771;
constexpr UINT kHeaderStartups = 1072;
constexpr char kNewerAnswer[] = "1\nVelbrook\t99.0.0.0\t1\t0\nf\tu\tn\tv\tr\ts";
constexpr char kSameAnswer[] = "1\nVelbrook\t0.0.0.1\t1\t0\nf\tu\tn\tv\tr\ts";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void SetEnv(const char* name, const std::string& value) {
    ::SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

class Program : public ::testing::Test {
protected:
    void SetUp() override {
        // The check at start asks a case that has no newer version unless a test says so.
        server.Script(CaseName(), kSameAnswer);
        SetEnv("VELBROOK_SITE_URL", server.CaseUrl(CaseName()));
        testing_support::DeleteSetting("strtupdates");
        testing_support::DeleteSetting("systray");
    }
    void TearDown() override {
        SetEnv("VELBROOK_SITE_URL", "");
        SetEnv("RENOVIX_STAND_IN_LOG", "");
        testing_support::DeleteSetting("strtupdates");
        testing_support::DeleteSetting("systray");
    }
    static std::string CaseName() {
        return std::string("shell_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    testing_support::VersionServer server;
};

TEST_F(Program, ASecondCopyBringsTheFirstBackAndEndsWithoutAWindow) {
    RunningVelbrook first(testing_support::BuiltVelbrookPath());
    ASSERT_NE(first.window(), nullptr);
    ::ShowWindow(first.window(), SW_MINIMIZE);
    ::SendMessage(first.window(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(first.window()); }));

    // Another window with the product's title, above the main window (as an alert or a
    // message box would be): the second copy still finds the main window.
    HWND namesake = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "Velbrook", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(namesake, nullptr);
    RunningVelbrook second(testing_support::BuiltVelbrookPath(), "", false);
    EXPECT_EQ(second.WaitForExit(), 0u);
    ::DestroyWindow(namesake);
    EXPECT_TRUE(::IsWindowVisible(first.window()));
    EXPECT_FALSE(::IsIconic(first.window()));
    EXPECT_EQ(FindMainWindow(second.processId(), false), nullptr);
    EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Program, TheCloseBoxHidesTheTrayBringsItBackAndExitEnds) {
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    ::SendMessage(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(window); }));
    ::SendMessage(window, WM_CLOSE, 1, 0);
    EXPECT_EQ(program.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE));

    ::SendMessage(window, platform::MSG_TRAY_NOTIFY, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(::IsWindowVisible(window));

    ::PostMessage(window, WM_COMMAND, kTrayExit, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, WithoutTheTrayIconTheCloseBoxEndsTheProgram) {
    shell::WriteSetting(0, "systray");
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    ASSERT_NE(program.window(), nullptr);
    ::SendMessage(program.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(Program, TheTrayIconComesBackAfterTheShellRestarts) {
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    ASSERT_NE(program.window(), nullptr);
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = program.window();
    icon.uID = kTrayIconId;
    icon.uFlags = NIF_TIP;
    lstrcpyA(icon.szTip, "Velbrook");
    // Changing an icon works only while it is there; it comes just after the window.
    ASSERT_TRUE(WaitFor([&] { return ::Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE; }))
        << "no tray icon after start";
    // A restarted shell has lost it.
    ASSERT_TRUE(::Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(::Shell_NotifyIconA(NIM_MODIFY, &icon));

    HWND hidden = testing_support::FindProcessWindow(program.processId(), "", "SystemTrayIconClass",
                                                     0, false);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(::IsWindowVisible(hidden));
    ::SendMessage(hidden, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    EXPECT_TRUE(::Shell_NotifyIconA(NIM_MODIFY, &icon));
}

TEST_F(Program, OnlyTheInstallersCloseRequestEndsTheProgram) {
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    ASSERT_NE(program.window(), nullptr);
    ::SendMessage(program.window(), WM_CLOSE, 0, 1);
    EXPECT_EQ(program.WaitForExit(300), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(program.CloseForGood(), 0u);
}

TEST_F(Program, TheWindowCannotBeMadeSmallerThanItsMinimum) {
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    ASSERT_NE(program.window(), nullptr);
    ::SetWindowPos(program.window(), nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT r;
    ::GetWindowRect(program.window(), &r);
    EXPECT_GE(r.right - r.left, 739);
    EXPECT_GE(r.bottom - r.top, 572);
}

// The question after a newer version: No leaves everything as it is; Yes runs the update
// dialog (the stand-in library) inside the veil.
TEST_F(Program, ANewerVersionAsksAndYesRunsTheUpdateDialogInTheVeil) {
    server.Script(CaseName(), kNewerAnswer);
    ProgramFolder folder("velbrook-update-question");
    ASSERT_TRUE(::CopyFileA(RENOVIX_STAND_IN_PATH, (folder.path() + "Renovix.dll").c_str(), FALSE));
    const std::string log = folder.path() + "renovix.log";
    SetEnv("RENOVIX_STAND_IN_LOG", log);

    for (const int answer : {IDNO, IDYES}) {
        RunningVelbrook program(folder.exe());
        ASSERT_NE(program.window(), nullptr);
        HWND box = nullptr;
        ASSERT_TRUE(
            WaitFor([&] { return (box = FindMessageBox(program.processId(), IDYES)) != nullptr; }));
        char text[256] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(
            text,
            "An important software update is available. Would you like to download and install?");
        ::GetWindowTextA(box, text, sizeof text);
        EXPECT_STREQ(text, "Velbrook");
        ::PostMessage(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        if (answer == IDNO) {
            ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
            ::Sleep(500);
            EXPECT_EQ(ReadFile(log), "<missing>");
        } else {
            ASSERT_TRUE(WaitFor([&] { return ReadFile(log) != "<missing>"; }));
            EXPECT_EQ(ReadFile(log), "called veil=1\n");
            EXPECT_TRUE(::IsWindowVisible(program.window()));
        }
        EXPECT_EQ(server.Hits(CaseName()), answer == IDNO ? 1 : 2);
        EXPECT_EQ(program.CloseForGood(), 0u);
    }
}

// An update the install step kept (a file was in use) waits in the protected data folder: a
// start asks to finish it and, answered yes, hands over to the install step without a window.
TEST_F(Program, AnUpdateKeptByTheInstallStepIsOfferedAtStart) {
    ProgramFolder folder("velbrook-kept-update");
    ASSERT_TRUE(::CopyFileA(RENOVIX_STAND_IN_PATH, (folder.path() + "Renovix.dll").c_str(), FALSE));
    const std::string log = folder.path() + "renovix.log";
    SetEnv("RENOVIX_STAND_IN_LOG", log);
    const std::string list = shell::PrepareDataSubfolder("update") + "\\updatetmp.tmp";
    std::ofstream(list, std::ios::binary) << "kept";

    for (const int answer : {IDNO, IDYES}) {
        RunningVelbrook program(folder.exe(), "", false);
        HWND box = nullptr;
        ASSERT_TRUE(
            WaitFor([&] { return (box = FindMessageBox(program.processId(), IDYES)) != nullptr; }));
        char text[256] = {};
        ::GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text,
                     "An update of Velbrook was downloaded but not finished, because some of its "
                     "files were in use. Finish it now? Velbrook closes and starts again.");
        ::PostMessage(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
        if (answer == IDNO) {
            HWND window = nullptr;
            ASSERT_TRUE(
                WaitFor([&] { return (window = FindMainWindow(program.processId())) != nullptr; }));
            ::PostMessage(window, WM_CLOSE, 1, 1);
            EXPECT_EQ(program.WaitForExit(), 0u);
            EXPECT_EQ(ReadFile(log), "<missing>");
        } else {
            EXPECT_EQ(program.WaitForExit(), 0u);
            EXPECT_TRUE(WaitFor([&] { return ReadFile(log) == "install\n"; }));
        }
    }
    // The start the install step makes itself does not ask.
    ::DeleteFileA(log.c_str());
    {
        RunningVelbrook program(folder.exe(), "-wnw");
        ASSERT_NE(program.window(), nullptr);
        EXPECT_EQ(FindMessageBox(program.processId(), IDYES), nullptr);
    }
    ::DeleteFileA(list.c_str());
}

TEST_F(Program, TheCheckAtStartFollowsTheSettingUnlessStartedAtLogon) {
    ASSERT_EQ(shell::WriteSetting(1, "strtupdates"), ERROR_SUCCESS);
    {
        RunningVelbrook program(testing_support::BuiltVelbrookPath());
        ASSERT_NE(program.window(), nullptr);
        ::Sleep(1500);
        EXPECT_EQ(server.Hits(CaseName()), 0);
    }
    {
        RunningVelbrook program(testing_support::BuiltVelbrookPath(), "-t");
        ASSERT_NE(program.window(), nullptr);
        EXPECT_TRUE(WaitFor([&] { return server.Hits(CaseName()) == 1; }, 10000));
    }
}

TEST_F(Program, TheWindowKeepsAnsweringWhileTheServerStalls) {
    server.Script(CaseName(), kNewerAnswer, 200, "hang");
    SetEnv("VELBROOK_HTTP_TIMEOUT_MS", "60000");
    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    SetEnv("VELBROOK_HTTP_TIMEOUT_MS", "2000");
    ASSERT_NE(program.window(), nullptr);
    ASSERT_TRUE(WaitFor(
        [&] { return server.Hits(CaseName()) == 1 || !server.LastRequest(CaseName()).empty(); },
        5000));
    ::Sleep(300);
    DWORD_PTR answer = 0;
    EXPECT_NE(
        ::SendMessageTimeoutA(program.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer), 0);
    EXPECT_NE(::SendMessageTimeoutA(program.window(), WM_COMMAND, kHeaderStartups, 0,
                                    SMTO_ABORTIFHUNG, 1000, &answer),
              0);
    // Ending does not wait for the request either.
    EXPECT_EQ(program.CloseForGood(5000), 0u);
}

TEST_F(Program, AStagedRenovixReplacesTheOldOneAtStart) {
    ProgramFolder folder("velbrook-staging");
    std::ofstream(folder.path() + "Renovix.dll", std::ios::binary) << "old";
    std::ofstream(folder.path() + "Renovix_s.dll", std::ios::binary) << "staged";
    RunningVelbrook program(folder.exe());
    ASSERT_NE(program.window(), nullptr);
    EXPECT_EQ(ReadFile(folder.path() + "Renovix.dll"), "staged");
    EXPECT_EQ(ReadFile(folder.path() + "Renovix_s.dll"), "<missing>");
    EXPECT_EQ(program.CloseForGood(), 0u);
}

TEST_F(Program, AtExitTheCountDropsAndTheProgramsDeadSlotIsCleared) {
    // This test holds the block open, so it outlives the program.
    shell::SwhTableView table = shell::OpenSwhTable();
    ASSERT_TRUE(table);
    unsigned char* bytes = table.bytes();
    std::fill(bytes, bytes + shell::kSwhTableSize, 0);
    HWND live = ::GetDesktopWindow();
    const auto liveValue = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(live));
    shell::SetSwhUseCount(bytes, 3);
    shell::SetSwhSlot(bytes, 1, L"Other", 0x0BAD0010);
    shell::SetSwhSlot(bytes, 3, L"Velbrook", liveValue);
    shell::SetSwhSlot(bytes, 5, L"Velbrook", 0x0BAD0020);
    shell::SetSwhSlot(bytes, 7, L"Velbrook", 0x0BAD0030);

    RunningVelbrook program(testing_support::BuiltVelbrookPath());
    ASSERT_NE(program.window(), nullptr);
    EXPECT_EQ(program.CloseForGood(), 0u);

    EXPECT_EQ(shell::SwhUseCount(bytes), 2);
    EXPECT_EQ(shell::SwhSlotName(bytes, 5), "");
    EXPECT_EQ(shell::SwhSlotWindow(bytes, 5), 0u);
    EXPECT_EQ(shell::SwhSlotName(bytes, 1), "Other");
    EXPECT_EQ(shell::SwhSlotWindow(bytes, 3), liveValue);
    EXPECT_EQ(shell::SwhSlotName(bytes, 7), "Velbrook");
}

}  // namespace
