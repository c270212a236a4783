// The install step on real folders: the list file, the close requests, moves and unpacking,
// signatures, "afupsc" and the restart of Velbrook.
#include "update/renovix/install_step.h"

#include "platform/text_codec.h"
#include "platform/unique_any.h"
#include "shell/core/settings_key.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/file_rights.h"
#include "tests/update/renovix/renovix_test_support.h"
#include "tests/update/renovix/zip_maker.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

namespace renovix {
namespace {

using namespace testing_support;

std::wstring Wide(const std::string& text) { return platform::text::Wide(text); }

class InstallStep : public ::testing::Test {
protected:
    void SetUp() override {
        temp = FreshFolder("install_temp");
        program = FreshFolder("install_program");
        kept = FreshFolder("install_kept");
        // The stand-in records how it was started.
        ::CopyFileA((platform_folder() + "velbrook_stand_in.exe").c_str(),
                    (program + "\\Velbrook.exe").c_str(), FALSE);
        shell::WriteSetting("7", "afupsc");
    }
    static std::string platform_folder() {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string folder = path;
        return folder.substr(0, folder.find_last_of('\\') + 1);
    }

    // A download in the temporary folder, signed by the tests' key unless told otherwise.
    void Download(const std::string& localName, const std::string& bytes, bool sign = true) {
        WriteBytes(temp + "\\" + localName, bytes);
        if (sign) {
            SignWithServer(server, "install", localName, bytes, temp + "\\" + localName + ".sig");
        }
    }
    // The list, and beside it the signed statement of release `version` listing each line's
    // destination and kind with the digest of its download as it lies there now.
    void WriteList(const std::string& text, const std::string& version = "2.0.0.0") {
        WriteBytes(temp + "\\updatetmp.tmp", text);
        std::vector<std::string> files;
        for (const ListedFile& file : ParseUpdateList(text).files) {
            std::string stated = std::to_string(files.size());
            stated += '\t';
            stated += file.destination;
            stated += file.isArchive ? "\t1\t" : "\t0\t";
            stated += Sha512Hex(ReadBytes(temp + "\\" + file.localName));
            files.push_back(stated);
        }
        const std::string statement = StatementText(version, files);
        WriteBytes(temp + "\\updatetmp.statement", statement);
        SignWithServer(server, "install", "statement", statement,
                       temp + "\\updatetmp.statement.sig");
    }
    int Run(std::function<void(const std::wstring&)> afterCheck = {}) {
        InstallOptions options;
        options.tempFolder = Wide(temp);
        options.programFolder = Wide(program);
        options.keptFolder = Wide(kept);
        options.waitMs = 0;
        options.afterCheck = std::move(afterCheck);
        return RunInstallStep(options, &report);
    }
    // Velbrook's command line once the stand-in has run, or empty text.
    std::string Restarted() {
        for (int i = 0; i < 100 && !Exists(program + "\\started.txt"); ++i) {
            ::Sleep(50);
        }
        ::Sleep(100);
        return ReadBytes(program + "\\started.txt");
    }

    // The names of the files in the kept update's folder.
    std::vector<std::string> KeptFiles() {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found{};
        const HANDLE search = ::FindFirstFileA((kept + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    names.push_back(found.cFileName);
                }
            } while (::FindNextFileA(search, &found));
            ::FindClose(search);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    VersionServer server;
    std::string temp, program, kept;
    InstallReport report;
};

constexpr char kUpdateFailed[] =
    "The update could not be completed: some of its files were refused or are in use. Please "
    "check for updates again after Velbrook has restarted.";
constexpr char kUpdateWaits[] =
    "The update could not be completed: some of its files are in use. It has been kept, and "
    "Velbrook will offer to finish it the next time it starts.";

TEST_F(InstallStep, PlacesSignedFilesClosesVelbrookAndStartsItAgain) {
    Download("plainaaaaa", "new program");
    Download("existingaa", "new settings");
    Download("ziparchive", MakeZip({{"sub/inner.txt", "unpacked"}, {"top.dll", "library"}}));
    WriteBytes(program + "\\settings.ini", "old settings");
    WriteList("C:\r\n" + program + "\r\n" + "app.exe\tx\t11\thttps://h/a\t0\t0\tplainaaaaa\r\n" +
              "settings.ini\tx\t12\thttps://h/s\t0\t0\texistingaa\r\n" +
              "six\tfields\t1\thttps://h/6\t0\t0\r\n" +
              "eight\tfields\t1\thttps://h/8\t0\t0\tplainaaaaa\textra\r\n" +
              "pack.zip\t\\\t100\thttps://h/z\t1\t0\tziparchive\r\n");
    MessageBoxAnswers boxes;
    StandInMainWindow velbrook(true);
    EXPECT_EQ(Run(), 1);

    EXPECT_EQ(ReadBytes(program + "\\app.exe"), "new program");
    EXPECT_EQ(ReadBytes(program + "\\settings.ini"), "old settings");  // never replaced
    EXPECT_EQ(ReadBytes(program + "\\sub\\inner.txt"), "unpacked");
    EXPECT_EQ(ReadBytes(program + "\\top.dll"), "library");
    EXPECT_FALSE(Exists(program + "\\six"));
    EXPECT_FALSE(Exists(program + "\\eight"));
    for (const char* name : {"plainaaaaa", "existingaa", "ziparchive", "plainaaaaa.sig",
                             "updatetmp.tmp", "updatetmp.statement", "updatetmp.statement.sig"}) {
        EXPECT_FALSE(Exists(temp + "\\" + name)) << name;
    }
    EXPECT_EQ(shell::ReadSettingText("afupsc"), "0");
    const auto requests = velbrook.CloseRequests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests[0], std::make_pair(WPARAM{1}, LPARAM{1}));
    // The alert above it in the z-order carries the same title; it is not the main window.
    EXPECT_EQ(velbrook.DecoyCloseRequests(), 0);
    EXPECT_EQ(Restarted(), "-wnw");
    EXPECT_TRUE(boxes.shown().empty());
}

// The folder field "\\" once joined the folder and the name without a backslash: the file
// landed beside the program folder, as "<folder>_joined.txt".
TEST_F(InstallStep, APlainFileWithTheFolderFieldBackslashLandsInsideTheFolder) {
    Download("joinedaaaa", "x");
    WriteList(program + "\r\n" + "_joined.txt\t\\\t1\thttps://h/j\t0\t0\tjoinedaaaa\r\n");
    MessageBoxAnswers boxes;
    Run();
    EXPECT_EQ(ReadBytes(program + "\\_joined.txt"), "x");
    EXPECT_FALSE(Exists(program + "_joined.txt"));
}

// A signed download and a list line whose destination climbs out with the run flag once ran
// whatever lay at "<folder>\..\evil.exe", elevated.
TEST_F(InstallStep, ADestinationThatClimbsOutRunsAndPlacesNothing) {
    const std::string outside = FreshFolder("install_outside");
    program = outside + "\\app";
    ::CreateDirectoryA(program.c_str(), nullptr);
    ::CopyFileA((platform_folder() + "velbrook_stand_in.exe").c_str(),
                (outside + "\\evil.exe").c_str(), FALSE);
    Download("climbaaaaa", "signed, but of another release");
    Download("climbbbbbb", "signed, but of another release");
    WriteList(program + "\r\n" + "..\\evil.exe\tx\t1\thttps://h/e\t0\t1\tclimbaaaaa\r\n" +
              "sub\\..\\..\\evil.exe\t\\\t1\thttps://h/e\t1\t1\tclimbbbbbb\r\n");
    MessageBoxAnswers boxes;
    EXPECT_EQ(Run(), 1);
    ::Sleep(1000);
    EXPECT_FALSE(Exists(outside + "\\started.txt"));
    EXPECT_EQ(ReadBytes(outside + "\\evil.exe"),
              ReadBytes(platform_folder() + "velbrook_stand_in.exe"));
    EXPECT_FALSE(report.refused.empty());
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown()[0].text, kUpdateFailed);
}

// The archive was checked by name and opened again by name to unpack: swapped in between,
// another archive went in.
TEST_F(InstallStep, AnArchiveSwappedAfterItsCheckIsNotWhatGoesIn) {
    Download("swapzipaaa", MakeZip({{"core.dll", "checked"}}));
    WriteBytes(temp + "\\other.zip", MakeZip({{"core.dll", "swapped"}, {"evil.dll", "evil"}}));
    WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tswapzipaaa\r\n");
    MessageBoxAnswers boxes;
    int swaps = 0;
    Run([&](const std::wstring& download) {
        swaps += ::MoveFileExW(Wide(temp + "\\other.zip").c_str(), download.c_str(),
                               MOVEFILE_REPLACE_EXISTING);
        swaps += ::CopyFileW(Wide(temp + "\\other.zip").c_str(), download.c_str(), FALSE);
    });
    EXPECT_EQ(swaps, 0);  // nobody may write the download while it is installed
    EXPECT_EQ(ReadBytes(program + "\\core.dll"), "checked");
    EXPECT_FALSE(Exists(program + "\\evil.dll"));
}

// A file in use once made the step delete the package and report nothing: half an update. The
// package now waits, as checked, in the kept update's folder (not the temporary folder every
// program of the user can write), and the next run installs it from there.
TEST_F(InstallStep, AFileInUseKeepsThePackageForTheNextRunWhichInstallsIt) {
    WriteBytes(program + "\\core.dll", "old core");
    Download("lockedzipa", MakeZip({{"core.dll", "new core"}, {"other.txt", "fine"}}));
    WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tlockedzipa\r\n");
    const std::string download = ReadBytes(temp + "\\lockedzipa");
    MessageBoxAnswers boxes;
    {
        platform::unique_hfile inUse(::CreateFileA((program + "\\core.dll").c_str(), GENERIC_READ,
                                                   0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(inUse);
        Run();
    }
    EXPECT_EQ(ReadBytes(program + "\\core.dll"), "old core");
    EXPECT_EQ(report.failed.size(), 1u);
    EXPECT_FALSE(Exists(temp + "\\lockedzipa"));
    EXPECT_FALSE(Exists(temp + "\\updatetmp.tmp"));
    EXPECT_EQ(KeptFiles(),
              (std::vector<std::string>{"lockedzipa", "lockedzipa.sig", "updatetmp.statement",
                                        "updatetmp.statement.sig", "updatetmp.tmp"}));
    EXPECT_EQ(ReadBytes(kept + "\\lockedzipa"), download);
    EXPECT_NE(ReadBytes(kept + "\\updatetmp.tmp").find("lockedzipa"), std::string::npos);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, kUpdateWaits);

    Run();
    EXPECT_EQ(ReadBytes(program + "\\core.dll"), "new core");
    EXPECT_TRUE(report.failed.empty());
    EXPECT_TRUE(KeptFiles().empty());
    EXPECT_EQ(boxes.shown().size(), 1u);
}

// What waits in the kept folder is checked again like a fresh download, and a fresh download
// in the temporary folder goes in instead of it.
TEST_F(InstallStep, AKeptUpdateIsCheckedAgainAndAFreshDownloadSupersedesIt) {
    const struct {
        const char* keptVersion;
        bool fresh;
        const char* core;
    } cases[] = {
        {"2.0.0.0", false, "kept core"},
        {"1.0.0.0", false, "old core"},  // no longer newer than the installed program
        {"2.0.0.0", true, "fresh core"},
    };
    const std::string tempFolder = temp;
    for (const auto& c : cases) {
        WriteBytes(program + "\\core.dll", "old core");
        temp = kept;
        Download("keptzipaaa", MakeZip({{"core.dll", "kept core"}}));
        WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tkeptzipaaa\r\n", c.keptVersion);
        temp = tempFolder;
        if (c.fresh) {
            Download("freshzipaa", MakeZip({{"core.dll", "fresh core"}}));
            WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tfreshzipaa\r\n");
        }
        MessageBoxAnswers boxes;
        Run();
        EXPECT_EQ(ReadBytes(program + "\\core.dll"), c.core) << c.keptVersion << c.fresh;
        EXPECT_TRUE(KeptFiles().empty()) << c.keptVersion << c.fresh;
    }
}

// A plain file goes in as a new file of the program folder, with the folder's rights rather
// than those it had in the temporary folder.
TEST_F(InstallStep, APlacedFileTakesTheProgramFoldersRights) {
    Download("rightsaaaa", "x");
    GiveToEveryone(temp + "\\rightsaaaa");
    WriteList(program + "\r\nr.txt\tx\t1\thttps://h/r\t0\t0\trightsaaaa\r\n");
    MessageBoxAnswers boxes;
    Run();
    ASSERT_EQ(ReadBytes(program + "\\r.txt"), "x");
    EXPECT_FALSE(UsersMayWrite(program + "\\r.txt"));
}

TEST_F(InstallStep, ArchiveNamesNeverLeaveTheProgramFolder) {
    const std::string outside = program.substr(0, program.find_last_of('\\')) + "\\escaped.txt";
    ::DeleteFileA(outside.c_str());
    Download("slipzipaaa", MakeZip({
                               {"..\\..\\x.exe", "climbed"},
                               {"C:\\Windows\\x.dll", "drive"},
                               {"..\\escaped.txt", "out"},
                               {"../escaped.txt", "out"},
                               {"\\\\?\\C:\\escaped.txt", "out"},
                               {"\\\\server\\share\\escaped.txt", "out"},
                               {"a\\C:\\escaped.txt", "out"},
                               {"CON", "device"},
                               {"sub/NUL.txt", "device"},
                               {"stream.txt:hidden", "stream"},
                               {"dots...", "trailing"},
                               {"blank ", "trailing"},
                               {"ok/fine.txt", "fine"},
                           }));
    WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tslipzipaaa\r\n");
    MessageBoxAnswers boxes;
    Run();
    EXPECT_EQ(ReadBytes(program + "\\x.exe"), "climbed");
    EXPECT_EQ(ReadBytes(program + "\\Windows\\x.dll"), "drive");
    EXPECT_EQ(ReadBytes(program + "\\ok\\fine.txt"), "fine");
    EXPECT_FALSE(Exists(outside));
    EXPECT_FALSE(Exists(program + "\\stream.txt"));
    EXPECT_FALSE(Exists(program + "\\dots"));
    EXPECT_FALSE(Exists(program + "\\blank"));
    EXPECT_FALSE(Exists(program + "\\sub\\NUL.txt"));
}

TEST_F(InstallStep, ABrokenEntryLeavesTheOldFileAndTheOthersGoIn) {
    WriteBytes(program + "\\core.dll", "old core");
    const std::string data = "a new core that is damaged";
    Download("brokenzipa",
             CorruptStoredData(MakeZip({{"core.dll", data, false}, {"other.txt", "fine"}}), data));
    WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tbrokenzipa\r\n");
    MessageBoxAnswers boxes;
    Run();
    EXPECT_EQ(ReadBytes(program + "\\core.dll"), "old core");
    EXPECT_EQ(ReadBytes(program + "\\other.txt"), "fine");
    EXPECT_FALSE(Exists(program + "\\core.dll.renovix-part"));
}

TEST_F(InstallStep, AttributesAndTimesComeFromTheArchive) {
    const std::string ut("UT\x05\x00\x01\x00\xCA\x9A\x3B", 9);  // last write 1000000000
    Download("attrzipaaa", MakeZip({{"ro.txt", "r", true, 0x0014, 0x21},
                                    {"unix.txt", "u", true, 0x0314, 0100444u << 16, ut}}));
    WriteList(program + "\r\npack.zip\tx\t1\thttps://h/z\t1\t0\tattrzipaaa\r\n");
    MessageBoxAnswers boxes;
    Run();
    EXPECT_EQ(::GetFileAttributesA((program + "\\ro.txt").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(::GetFileAttributesA((program + "\\unix.txt").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(
        ::GetFileAttributesExA((program + "\\unix.txt").c_str(), GetFileExInfoStandard, &data));
    const auto written =
        (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
        data.ftLastWriteTime.dwLowDateTime;
    const long long seconds = static_cast<long long>(written / 10000000ull) - 11644473600ll;
    EXPECT_EQ(seconds, 1000000000);
}

// The signature covered a file's bytes only: any older signed package could be listed again.
TEST_F(InstallStep, OnlyWhatANewerSignedStatementListsGoesIn) {
    const std::string line = program + "\r\napp.exe\tx\t1\thttps://h/a\t0\t0\treplayaaaa\r\n";
    const std::string statement = temp + "\\updatetmp.statement";
    const struct {
        const char* what;
        std::function<void()> arrange;
    } cases[] = {
        {"the installed version", [&] { WriteList(line, "1.0.0.0"); }},
        {"an older version", [&] { WriteList(line, "0.9"); }},
        {"another release's signed file",
         [&] {
             WriteList(line);
             Download("replayaaaa", "signed, of an older release");
         }},
        {"another destination",
         [&] {
             WriteList(program + "\r\nlib.dll\tx\t1\thttps://h/a\t0\t0\treplayaaaa\r\n");
             WriteBytes(temp + "\\updatetmp.tmp", line);
         }},
        {"a statement signed by nobody",
         [&] {
             WriteList(line);
             WriteBytes(statement + ".sig", std::string(64, 'S'));
         }},
        {"no statement",
         [&] {
             WriteList(line);
             ::DeleteFileA(statement.c_str());
         }},
    };
    for (const auto& c : cases) {
        Download("replayaaaa", "signed, the new release");
        c.arrange();
        MessageBoxAnswers boxes;
        EXPECT_EQ(Run(), 1) << c.what;
        EXPECT_FALSE(Exists(program + "\\app.exe")) << c.what;
        EXPECT_EQ(report.refused.size(), 1u) << c.what;
    }
}

TEST_F(InstallStep, UnsignedOrForeignSignedFilesAreNotInstalled) {
    Download("unsignedaa", "evil", false);
    Download("wrongsigaa", "evil too");
    Download("goodbodyaa", "something else");
    ::CopyFileA((temp + "\\goodbodyaa.sig").c_str(), (temp + "\\wrongsigaa.sig").c_str(), FALSE);
    WriteList(program + "\r\n" + "a.exe\tx\t1\thttps://h/a\t0\t0\tunsignedaa\r\n" +
              "b.exe\tx\t1\thttps://h/b\t0\t0\twrongsigaa\r\n");
    MessageBoxAnswers boxes;
    EXPECT_EQ(Run(), 1);
    EXPECT_FALSE(Exists(program + "\\a.exe"));
    EXPECT_FALSE(Exists(program + "\\b.exe"));
    EXPECT_FALSE(Exists(temp + "\\unsignedaa"));
    EXPECT_FALSE(Exists(temp + "\\wrongsigaa"));
}

// Program files are megabytes: far more than one value of a signature check may hold.
TEST_F(InstallStep, LargeSignedFilesGoInAndAChangedByteKeepsThemOut) {
    std::string large(3u << 20, '\0');
    for (size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7919 % 251);
    }
    Download("largeaaaaa", large);
    Download("changedaaa", large);
    std::string changed = large;
    changed[changed.size() / 2] ^= 1;
    WriteBytes(temp + "\\changedaaa", changed);
    WriteList(program + "\r\n" + "large.exe\tx\t1\thttps://h/l\t0\t0\tlargeaaaaa\r\n" +
              "changed.exe\tx\t1\thttps://h/c\t0\t0\tchangedaaa\r\n");
    MessageBoxAnswers boxes;
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(ReadBytes(program + "\\large.exe"), large);
    EXPECT_FALSE(Exists(program + "\\changed.exe"));
}

TEST_F(InstallStep, AListForAnotherFolderOrWithClimbingNamesInstallsNothing) {
    Download("elsewherea", "x");
    Download("climbinga1", "y");
    const std::string other = FreshFolder("install_other");
    WriteList(other + "\r\nz.exe\tx\t1\thttps://h/a\t0\t0\telsewherea\r\n");
    MessageBoxAnswers boxes;
    Run();
    EXPECT_FALSE(Exists(other + "\\z.exe"));
    WriteList(program + "\r\n..\\..\\y.exe\tx\t1\thttps://h/a\t0\t0\tclimbinga1\r\n");
    Run();
    EXPECT_FALSE(Exists(program + "\\..\\..\\y.exe"));
}

TEST_F(InstallStep, NoListFileTellsSoAndNoVelbrookTellsToRestartByHand) {
    MessageBoxAnswers boxes;
    EXPECT_EQ(Run(), 0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Error in open file");
    EXPECT_EQ(boxes.shown()[0].caption, "Velbrook");
    EXPECT_EQ(shell::ReadSettingText("afupsc"), "7");

    program = FreshFolder("install_without_program");
    WriteList(program + "\r\n");
    EXPECT_EQ(Run(), 1);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text,
              "Unable to run the program after update. Please restart Velbrook.");
    EXPECT_EQ(boxes.shown()[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

}  // namespace
}  // namespace renovix
