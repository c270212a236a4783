// The update dialog against the loopback server, in the test's own process: every outcome of
// the answer, the downloads with their size and signature checks, the list file, the keys.
#include "update/renovix/update_dlg.h"

#include "platform/text_codec.h"

#include "platform/message_box.h"
#include "tests/support/dialog_driver.h"
#include "tests/update/renovix/renovix_test_support.h"
#include "update/renovix/renovix_app.h"
#include "update/renovix/install_step.h"
#include "update/renovix/signature.h"
#include "update/renovix/update_dlg_ids.h"

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

namespace renovix {
namespace {

using namespace testing_support;

std::string TempPath(const std::string& name) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

std::wstring Wide(const std::string& text) { return platform::text::Wide(text); }

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow += c < 128 ? static_cast<char>(c) : '?';
    }
    return narrow;
}

class UpdateDialog : public ::testing::Test {
protected:
    void SetUp() override {
        // The own version comes from Velbrook.exe beside the program: 1.0.0.0.
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        folder = path;
        folder = folder.substr(0, folder.find_last_of('\\') + 1);
        ::CopyFileA((folder + "velbrook_stand_in.exe").c_str(), (folder + "Velbrook.exe").c_str(),
                    FALSE);
        ::DeleteFileA(TempPath("updatetmp.tmp").c_str());
    }
    void TearDown() override {
        if (dialog) {
            dialog->WaitForWorker(20000);
        }
    }

    // Runs the dialog against the answer of caseName; the message boxes are answered with
    // answers and each records the status text shown at that moment.
    INT_PTR Run(const std::string& caseName, const std::string& answer, std::vector<int> answers,
                const std::function<void(CUpdateDlg&)>& script, const std::string& siteUrl = "") {
        server.Script(caseName, answer);
        SiteUrlOverride site(siteUrl.empty() ? server.CaseUrl(caseName) : siteUrl);
        // A new dialog for each run, as each call of the library makes one.
        if (dialog) {
            dialog->WaitForWorker(20000);
        }
        dialog = std::make_unique<CUpdateDlg>();
        dialog->SetPauseMs(0);
        auto previous =
            platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& request) {
                const std::string status = Narrow(dialog->StatusText());
                if (Exists(TempPath("updatetmp.tmp"))) {
                    listAtQuestion = ReadBytes(TempPath("updatetmp.tmp"));
                }
                std::lock_guard lock(boxesLock);
                boxes.push_back(request.text);
                statusAtBox.push_back(status);
                const int choice = answers.empty() ? IDOK : answers.front();
                if (!answers.empty()) {
                    answers.erase(answers.begin());
                }
                return choice;
            });
        const INT_PTR result = RunModal(*dialog, [&](controls::CDialog&) { script(*dialog); });
        platform::SetMessageBoxHandler(previous);
        return result;
    }
    std::string Url(const std::string& caseName, const std::string& file) const {
        return server.CaseUrl(caseName) + "/" + file;
    }
    std::string FileLine(const std::string& caseName, const std::string& file, size_t size) const {
        return file + "\tx\t" + std::to_string(size) + "\t" + Url(caseName, file) + "\t0\t0";
    }
    // Serves the signed statement of release 2.0 listing the plain file `name` with body's digest.
    void ServeStatement(const std::string& caseName, const std::string& name,
                        const std::string& body) {
        server.ScriptFileBody(
            caseName, "admin/release-statement",
            StatementText("2.0", {name + "\t" + name + "\t0\t" + Sha512Hex(body)}));
    }
    bool StatusIs(const std::string& text) { return Narrow(dialog->StatusText()) == text; }
    std::vector<std::string> Boxes() {
        std::lock_guard lock(boxesLock);
        return boxes;
    }
    void WaitForBoxes(size_t count) {
        PumpUntil([&] { return Boxes().size() >= count || !dialog->IsOpen(); }, 20000);
    }

    VersionServer server;
    std::unique_ptr<CUpdateDlg> dialog;
    std::string folder;
    std::mutex boxesLock;
    std::vector<std::string> boxes;
    std::vector<std::string> statusAtBox;
    std::string listAtQuestion;  // the update list as it was when a box was shown
};

constexpr char kErrorBox[] =
    "Error occurred while downloading update, check if your internet connection is working fine.";

TEST_F(UpdateDialog, AnEqualVersionIsAlreadyInstalledAndDownloadsNothing) {
    const INT_PTR result =
        Run("equal", "1\nh\t1.0.0.0\t1\t0\n" + FileLine("equal", "f", 5), {}, [&](CUpdateDlg& d) {
            EXPECT_TRUE(StatusIs("Checking for updates"));

            EXPECT_FALSE(IsControlVisible(d, IDC_UPDATE_OK));
            EXPECT_FALSE(IsControlVisible(d, IDC_UPDATE_THANKS));
            ASSERT_TRUE(
                PumpUntil([&] { return StatusIs("Latest updates are already installed"); }, 20000));
            // One message on the dialog's thread shows the text, the button and the line.
            EXPECT_TRUE(IsControlVisible(d, IDC_UPDATE_OK));
            EXPECT_TRUE(IsControlVisible(d, IDC_UPDATE_THANKS));
            EXPECT_EQ(ControlText(d, IDC_UPDATE_THANKS), "Thank You For Using Velbrook");
            EXPECT_FALSE(IsControlVisible(d, IDC_UPDATE_PICTURE));
            d.SendCommand(IDC_UPDATE_OK);
        });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(server.Hits("equal"), 1);  // the answer only
    EXPECT_FALSE(Exists(TempPath("updatetmp.tmp")));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UpdateDialog, AnswersThatSayNothingOrTooMuchEndInTheErrorBox) {
    const std::string line = FileLine("bad", "f", 5);
    for (const std::string& answer :
         {"0\nh\t2.0\t1\t0\n" + line, "word\nh\t2.0\t1\t0\n" + line,
          "1\nh\t2.0\t1\t0\n" + line + "\n\n\n", "1\nh\t2.0\t1\n" + line}) {
        boxes.clear();
        const INT_PTR result = Run("bad", answer, {}, [&](CUpdateDlg&) { WaitForBoxes(1); });
        EXPECT_EQ(result, 1) << answer;
        ASSERT_EQ(Boxes().size(), 1u) << answer;
        EXPECT_EQ(Boxes()[0], kErrorBox);
        EXPECT_EQ(server.Hits("bad"), 1) << answer;  // nothing downloaded
        dialog->WaitForWorker(20000);
    }
}

TEST_F(UpdateDialog, AMissingFileLineEndsWithTheInfoError) {
    server.ScriptFileBody("missing", "f", "12345");
    ServeStatement("missing", "f", "12345");
    Run("missing", "1\nh\t2.0\t2\t0\n" + FileLine("missing", "f", 5), {}, [&](CUpdateDlg& d) {
        EXPECT_TRUE(
            PumpUntil([&] { return StatusIs("Error occured while downloading info."); }, 20000));
        EXPECT_TRUE(d.IsOpen());
        d.SendCommand(IDC_UPDATE_CLOSE);
    });
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(UpdateDialog, AShortBodyShowsItsProgressThenFailsTheSizeCheck) {
    server.ScriptFileBody("short", "f", std::string(1536, 'a'));
    ServeStatement("short", "f", std::string(2048, 'a'));
    Run("short", "1\nh\t2.0\t1\t0\n" + FileLine("short", "f", 2048), {},
        [&](CUpdateDlg&) { WaitForBoxes(1); });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], kErrorBox);
    EXPECT_EQ(statusAtBox[0], "Downloaded : 1 KB of 2 KB");
    EXPECT_FALSE(Exists(TempPath("updatetmp.tmp")));
}

TEST_F(UpdateDialog, ErrorPagesCutBodiesAndBadSignaturesInstallNothing) {
    const std::string body(700, 'b');
    server.ScriptFileBody("fail404", "f", body, true, 404);
    server.ScriptFileBody("failcut", "f", body, true, 200, "truncate", 300);
    server.ScriptFileBody("failunsigned", "f", body, false);
    server.ScriptFileBody("failforeign", "f", body, false);
    server.ScriptFileBody("failforeign", "f.sig", std::string(64, 'S'), false);
    for (const std::string caseName : {"fail404", "failcut", "failunsigned", "failforeign"}) {
        ServeStatement(caseName, "f", body);
        boxes.clear();
        statusAtBox.clear();
        Run(caseName, "1\nh\t2.0\t1\t0\n" + FileLine(caseName, "f", body.size()), {},
            [&](CUpdateDlg&) { WaitForBoxes(1); });
        ASSERT_EQ(Boxes().size(), 1u) << caseName;
        EXPECT_EQ(Boxes()[0], kErrorBox) << caseName;
        EXPECT_FALSE(Exists(TempPath("updatetmp.tmp"))) << caseName;
        dialog->WaitForWorker(20000);
    }
}

// Answering No once left this run's downloads and signatures in the temporary folder.
TEST_F(UpdateDialog, ASignedDownloadIsListedAndTheQuestionAskedAndNoDeletesIt) {
    const std::string body = "the new program";
    server.ScriptFileBody("signed", "f", body);
    ServeStatement("signed", "f", body);
    Run("signed", "1\nh\t2.0\t1\t0\n" + FileLine("signed", "f", body.size()), {IDNO},
        [&](CUpdateDlg& d) {
            WaitForBoxes(1);
            PumpUntil([&] { return d.AskedToInstall(); }, 2000);
            dialog->WaitForWorker(20000);
            EXPECT_TRUE(d.IsOpen());  // No leaves it open
            d.SendCommand(IDC_UPDATE_CLOSE);
        });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0],
              "Latest program update has been successfully downloaded. Click Yes to install, No to "
              "ignore");
    const std::string& list = listAtQuestion;
    // The line holds what the statement says, not the answer's address or run flag.
    const std::string prefix = folder.substr(0, folder.size() - 1) + "\r\nf\t.\t" +
                               std::to_string(body.size()) + "\tf\t0\t0\t";
    ASSERT_EQ(list.compare(0, prefix.size(), prefix), 0) << list;
    const std::string localName = list.substr(prefix.size(), 10);
    EXPECT_EQ(list.substr(prefix.size() + 10), "\r\n");
    EXPECT_FALSE(Exists(TempPath(localName)));
    EXPECT_FALSE(Exists(TempPath(localName + ".sig")));
    EXPECT_FALSE(Exists(TempPath("updatetmp.tmp")));
    EXPECT_FALSE(Exists(TempPath("updatetmp.statement")));
}

// A server that offers no signed statement (as before this version) gets no download.
TEST_F(UpdateDialog, NoStatementMeansNoDownloadAndTheBoxSaysWhy) {
    server.ScriptFileBody("nostatement", "f", "12345");
    Run("nostatement", "1\nh\t2.0\t1\t0\n" + FileLine("nostatement", "f", 5), {},
        [&](CUpdateDlg&) { WaitForBoxes(1); });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0],
              "The update server did not send a signed release statement, so this update can't be "
              "checked and won't be installed. Please try again later.");
    EXPECT_EQ(server.Hits("nostatement"), 3);  // the answer, the statement and its signature
    EXPECT_FALSE(Exists(TempPath("updatetmp.tmp")));
}

// No connection or an empty answer once left the dialog on its last text with nothing said.
TEST_F(UpdateDialog, NoConnectionOrAnEmptyAnswerEndsInAMessageThatSaysSo) {
    const struct {
        std::string site;
        const char* text;
    } cases[] = {
        {"http://127.0.0.1:1",
         "Unable to connect to the update server. Please check your Internet connection."},
        {"", "The update server sent an empty answer. Please try again later."},
    };
    for (const auto& c : cases) {
        boxes.clear();
        const INT_PTR result = Run(
            "empty", "", {}, [&](CUpdateDlg&) { WaitForBoxes(1); }, c.site);
        EXPECT_EQ(result, 1) << c.text;  // the box closes the dialog
        ASSERT_EQ(Boxes().size(), 1u) << c.text;
        EXPECT_EQ(Boxes()[0], c.text);
        dialog->WaitForWorker(20000);
    }
}

struct Recorder : DownloadJobEvents {
    std::vector<std::wstring> statuses;
    std::vector<DownloadFailure> failures;
    int connecting = 0, upToDate = 0;
    void OnStatus(const std::wstring& text) override { statuses.push_back(text); }
    void OnConnecting() override { ++connecting; }
    void OnUpToDate() override { ++upToDate; }
    void OnFailed(DownloadFailure failure) override { failures.push_back(failure); }
};

// The job on its own, without a window: the reports in order, pieces far larger than 512 bytes.
TEST(DownloadJobTest, ReportsItsStepsAndLeavesTheListWithoutAWindow) {
    Recorder events;
    VersionServer server;
    const std::string body(300 * 1024, 'j');
    const std::string bodyPath = FreshFolder("job_body") + "\\f";
    WriteBytes(bodyPath, body);
    server.ScriptFile("job", "f", bodyPath);
    server.ScriptFileBody("job", "admin/release-statement",
                          StatementText("2.0", {"f\tf\t0\t" + Sha512Hex(body)}));
    const std::string url = server.CaseUrl("job") + "/f";
    server.Script("job",
                  "1\nh\t2.0\t1\t0\nf\tx\t" + std::to_string(body.size()) + "\t" + url + "\t0\t0");
    SiteUrlOverride site(server.CaseUrl("job"));
    DownloadJobSettings settings = DefaultDownloadJobSettings();
    settings.pauseMs = 0;
    settings.programFolder = Wide(FreshFolder("job_program"));
    DownloadJob job(events, settings);
    ASSERT_TRUE(job.Run());  // no Velbrook.exe there: no own version, any version is newer
    EXPECT_EQ(events.connecting, 1);
    EXPECT_TRUE(events.failures.empty());
    ASSERT_GE(events.statuses.size(), 3u);
    EXPECT_EQ(events.statuses.front(), L"Getting the required information...");
    EXPECT_EQ(events.statuses.back(), L"Downladed latest version of Velbrook");
    EXPECT_EQ(events.statuses[events.statuses.size() - 2], L"Downloaded : 300 KB of 300 KB");
    const std::wstring list = settings.tempFolder + L"\\updatetmp.tmp";
    EXPECT_NE(::GetFileAttributesW(list.c_str()), INVALID_FILE_ATTRIBUTES);
    job.DeleteDownloads();
    EXPECT_EQ(::GetFileAttributesW(list.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UpdateDialog, EscapeAndSpaceDoNothing) {
    Run("keys", "1\nh\t1.0.0.0\t0\t0", {}, [&](CUpdateDlg& d) {
        ASSERT_TRUE(PumpUntil([&] { return IsControlVisible(d, IDC_UPDATE_OK); }, 20000));
        for (HWND target : {d.hwnd(), d.Item(IDC_UPDATE_OK), d.Item(IDC_UPDATE_CLOSE)}) {
            ::SetFocus(target);
            for (WPARAM key : {VK_ESCAPE, VK_SPACE}) {
                ::PostMessageW(target, WM_KEYDOWN, key, 0);
                ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
                PumpMessages();
            }
        }
        PumpUntil([] { return false; }, 300);
        EXPECT_TRUE(d.IsOpen());
    });
    EXPECT_TRUE(Boxes().empty());
}

// The answer is not signed: only a newer release that the signed statement lists, with the
// digest of what arrives, is downloaded; an older signed release served as newer is refused.
TEST(DownloadJobTest, OnlyANewerSignedStatementsFilesAreDownloaded) {
    VersionServer server;
    const std::string body = "the new program", digest = Sha512Hex(body);
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string here(path, std::string(path).find_last_of('\\') + 1);
    const std::string program = FreshFolder("job_statement_program");
    ::CopyFileA((here + "velbrook_stand_in.exe").c_str(), (program + "\\Velbrook.exe").c_str(),
                FALSE);  // version 1.0.0.0
    const struct {
        const char* what;
        std::string statement;  // empty: none is served
        DownloadFailure failure;
    } cases[] = {
        {"no statement", "", DownloadFailure::kNoStatement},
        {"the installed version", StatementText("1.0.0.0", {"f\tf\t0\t" + digest}),
         DownloadFailure::kNotNewer},
        {"an older version", StatementText("0.9", {"f\tf\t0\t" + digest}),
         DownloadFailure::kNotNewer},
        {"a file it does not list", StatementText("2.0", {"g\tf\t0\t" + digest}),
         DownloadFailure::kNotInStatement},
        {"another digest", StatementText("2.0", {"f\tf\t0\t" + Sha512Hex("other")}),
         DownloadFailure::kDownload},
    };
    for (const auto& c : cases) {
        server.ScriptFileBody("jobstate", "f", body);
        server.ScriptFileBody("jobstate", "admin/release-statement", c.statement, true,
                              c.statement.empty() ? 404 : 200);
        server.Script("jobstate", "1\nh\t2.0\t1\t0\nf\tx\t" + std::to_string(body.size()) + "\t" +
                                      server.CaseUrl("jobstate") + "/f\t0\t0");
        SiteUrlOverride site(server.CaseUrl("jobstate"));
        Recorder events;
        DownloadJobSettings settings = DefaultDownloadJobSettings();
        settings.pauseMs = 0;
        settings.programFolder = Wide(program);
        DownloadJob job(events, settings);
        EXPECT_FALSE(job.Run()) << c.what;
        EXPECT_EQ(events.failures, std::vector<DownloadFailure>{c.failure}) << c.what;
        EXPECT_FALSE(Exists(TempPath("updatetmp.tmp"))) << c.what;
        EXPECT_FALSE(Exists(TempPath("updatetmp.statement"))) << c.what;
    }
}

}  // namespace
}  // namespace renovix
