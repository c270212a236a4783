// The release of the next version, made by the release command and served by the reference
// server, as the installed program meets it: the version check finds it, Renovix downloads and
// verifies it, the install step replaces the files and the program starts again as the next
// version.

#include "tests/setup/setup_runner.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_process.h"
#include "update/program_version.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

using namespace testing_support;

std::string ServedSite() {
    std::string path = RELEASE_PORT_FILE;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::ifstream file(path);
    int port = 0;
    file >> port;
    return "http://127.0.0.1:" + std::to_string(port);
}

bool Ships(const std::string& name) {
    const auto shipped = ShippedFiles();
    return std::find(shipped.begin(), shipped.end(), name) != shipped.end();
}

// A message box of any process whose text contains `phrase`, or null after the time-out.
HWND WaitForMessageBox(const std::string& phrase, unsigned long timeoutMs) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND w = ::FindWindowExA(nullptr, nullptr, "#32770", "Velbrook"); w;
                 w = ::FindWindowExA(nullptr, w, "#32770", "Velbrook")) {
                char text[512] = {};
                ::GetDlgItemTextA(w, 0xFFFF, text, sizeof text);
                if (std::string(text).find(phrase) != std::string::npos) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

void Press(HWND box, int button) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, button)));
}

// A top-level window titled "Velbrook" of a process started from `program`, other than `not`.
HWND WaitForProgramWindow(const std::string& program, HWND notThis, unsigned long timeoutMs) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, "Velbrook"); w;
                 w = ::FindWindowExA(nullptr, w, nullptr, "Velbrook")) {
                if (w != notThis && _stricmp(ProcessImagePath(w).c_str(), program.c_str()) == 0) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

class ServedRelease : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("VELBROOK_SITE_URL", ServedSite().c_str());
        ResetSettingsKey();
    }
    void TearDown() override {
        UninstallIfInstalled();
        ::SetEnvironmentVariableA("VELBROOK_SITE_URL", nullptr);
    }
};

TEST_F(ServedRelease, VersionCheckOfTheProgramFindsIt) {
    const auto result = RunVelbrookc("check-update");
    EXPECT_EQ(result.exitCode, 10u) << result.out << result.err;
    EXPECT_NE(result.out.find(NEXT_VERSION), std::string::npos) << result.out;
}

// The installed program at `folder` finds the served release at start, downloads it when asked,
// installs it and starts again as the next version, with the next version's files in place.
void UpdatesItselfToTheNextVersion(const std::string& folder) {
    const std::string program = folder + "\\Velbrook.exe";
    RunningProgram installed(program);
    const HWND oldWindow = installed.WaitForWindow("Velbrook");
    ASSERT_NE(oldWindow, nullptr);
    const HWND question = WaitForMessageBox("An important software update is available", 60000);
    ASSERT_NE(question, nullptr);
    Press(question, IDYES);
    // The released version reads 512 bytes at a time with a pause after each: about a minute.
    const HWND downloaded =
        WaitForMessageBox("Latest program update has been successfully downloaded", 400000);
    ASSERT_NE(downloaded, nullptr);
    Press(downloaded, IDYES);
    EXPECT_TRUE(installed.WaitForExit());

    // The install step waits for the program to end, unpacks and starts it again.
    const HWND restarted = WaitForProgramWindow(program, oldWindow, 120000);
    ASSERT_NE(restarted, nullptr);
    EXPECT_EQ(update::FileVersionText(ProcessImagePath(restarted)), NEXT_VERSION);
    // The staged library was put in place at that start: every file is the next version's.
    EXPECT_FALSE(FileExists(folder + "\\Renovix_s.dll"));
    for (const auto& next : SplitList(NEXT_FILES)) {
        const std::string name = next.substr(next.find_last_of("/\\") + 1);
        EXPECT_TRUE(ReadFileBytes(folder + "\\" + name) == ReadFileBytes(next)) << name;
    }

    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(restarted, WM_CLOSE, 1, 1, SMTO_NORMAL, 10000, &ignored);
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(restarted); }, 30000));
}

TEST_F(ServedRelease, InstalledProgramUpdatesItselfThroughTheStatement) {
    if (!Ships("Velbrook.exe") || !Ships("Renovix.dll")) {
        GTEST_SKIP() << "this build ships no Velbrook.exe and Renovix.dll";
    }
    ASSERT_EQ(RunSetup("/S"), 0u);
    ASSERT_EQ(update::FileVersionText(DefaultInstallFolder() + "\\Velbrook.exe"), VELBROOK_VERSION);
    UpdatesItselfToTheNextVersion(DefaultInstallFolder());
}

#ifdef RELEASED_DIST
// The version released last knows only the old answer and the .sig files, and installs with its
// own Renovix.dll: the release must still bring it to the next version. It is a release build:
// it takes the site from the settings key only.
TEST_F(ServedRelease, TheReleasedVersionUpdatesItselfThroughTheOldAnswer) {
    if (FileExists(RELEASED_MISSING)) {
        FAIL() << "the released version could not be built: " << ReadFileBytes(RELEASED_MISSING);
    }
    const std::string dist = RELEASED_DIST;
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA((dist + "\\Velbrook-*-setup.exe").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE) << "no setup program in " << dist;
    ::FindClose(search);
    ASSERT_EQ(RunAndWaitForAll(Quoted(dist + "\\" + found.cFileName) + " /S"), 0u);
    const std::string folder = DefaultInstallFolder();
    ASSERT_TRUE(ReadFileBytes(folder + "\\Renovix.dll") == ReadFileBytes(dist + "\\Renovix.dll"));
    StoreSetting("SiteUrl", ServedSite());
    UpdatesItselfToTheNextVersion(folder);
}
#endif

}  // namespace
