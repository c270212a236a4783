// The version check against the loopback version server. This program carries the version
// resource 1.2.9.4 (see CMakeLists.txt).

#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/update/version_server_client.h"
#include "update/program_version.h"
#include "update/site_config.h"
#include "update/url_fetch.h"
#include "update/version_check.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

namespace {

using testing_support::SiteUrlOverride;
using testing_support::VersionServer;

constexpr char kOwnVersion[] = "1.2.9.4";

// Line 0, the header naming `latest`, and one file line.
std::string Answer(const std::string& latest) {
    return "1\nVelbrook\t" + latest +
           "\t1\t0\nVelbrook.exe\t\\\t2048\thttp://127.0.0.1/v.zip\t1\t0";
}

class VersionCheck : public testing::Test {
protected:
    // Scripts the answer of the case and points the site address at it.
    bool CheckWith(const std::string& caseName, const std::string& body, int status = 200,
                   const std::string& mode = "normal", size_t cut = 0) {
        server.Script(caseName, body, status, mode, cut);
        SiteUrlOverride site(server.CaseUrl(caseName));
        return update::CheckForUpdate(0);
    }

    VersionServer server;
};

TEST(GetProgramVersion, ReadsTheFixedFileVersionOfTheRunningProgram) {
    EXPECT_EQ(update::GetProgramVersion(), kOwnVersion);
}

TEST(FileVersionText, IsEmptyWithoutAVersionResource) {
    char folder[MAX_PATH];
    ASSERT_NE(::GetTempPathA(MAX_PATH, folder), 0u);
    const std::string plain = std::string(folder) + "velbrook-no-version.txt";
    std::ofstream(plain) << "no resource here";
    EXPECT_EQ(update::FileVersionText(plain), "");
    ::DeleteFileA(plain.c_str());
    EXPECT_EQ(update::FileVersionText(std::string(folder) + "velbrook-missing.exe"), "");
}

TEST_F(VersionCheck, SendsTheFixedRequestAndReadsTheWholeBody) {
    // Many 1023-byte pieces; carriage returns and bytes above 127 come back unchanged.
    const std::string unit = "line\r\n\x80\xff\tz";
    server.ScriptRepeated("whole_body", unit, 900);
    SiteUrlOverride site(server.CaseUrl("whole_body"));
    std::string expected;
    for (int i = 0; i < 900; ++i) {
        expected += unit;
    }
    EXPECT_EQ(update::FetchUrlText(update::VersionCheckUrl()), expected);
    EXPECT_EQ(server.LastRequest("whole_body"),
              "/whole_body/admin/vercheck.asp?bitver=32\nInetURL/1.0");
}

TEST_F(VersionCheck, OffersOnlyAHigherVersion) {
    struct Case {
        const char* latest;
        bool offered;
    };
    const Case cases[] = {
        {"1.2.9.4", false}, {"1.2.9.5", true},    {"1.2.10.0", true}, {"1.2.9.10", true},
        {"1.2.9.3", false}, {"1.2.9.4.0", false}, {"1.2.9", false},   {"1.3", true},
        {"1.2.9.4a", true}, {"1.2.9.4A", true},   {"V1.0", true},     {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckWith("compare", Answer(c.latest)), c.offered) << "remote " << c.latest;
    }
}

TEST_F(VersionCheck, AcceptsOnlyThreeLinesAndAFourFieldHeader) {
    EXPECT_TRUE(CheckWith("layout", Answer("2.0")));
    EXPECT_TRUE(CheckWith("layout", "1\r\nVelbrook\t2.0\t1\t0\r\nfile\r"));
    EXPECT_FALSE(CheckWith("layout", Answer("2.0") + "\n"));  // the line feed makes 4 lines
    EXPECT_FALSE(CheckWith("layout", "1\nVelbrook\t2.0\t1\t0\t\nfile"));  // 5 header fields
    EXPECT_FALSE(CheckWith("layout", "1\nVelbrook\t2.0\t1\nfile"));       // 3 header fields
    EXPECT_FALSE(CheckWith("layout", "1\nVelbrook\t2.0\t1\t0"));          // no file line
    EXPECT_FALSE(CheckWith("layout", ""));
}

TEST_F(VersionCheck, AnErrorStatusIsNoAnswer) {
    for (const int status : {404, 500}) {
        server.Script("status", Answer("2.0"), status);
        SiteUrlOverride site(server.CaseUrl("status"));
        EXPECT_EQ(update::FetchUrlText(update::VersionCheckUrl()), "") << status;
        EXPECT_FALSE(update::CheckForUpdate(0)) << status;
        EXPECT_EQ(server.Hits("status"), 2) << status;
    }
}

TEST_F(VersionCheck, NoServerIsNoAnswer) {
    // Nothing listens on port 1 of the loopback address.
    SiteUrlOverride site("http://127.0.0.1:1");
    EXPECT_EQ(update::FetchUrlText(update::VersionCheckUrl()), "");
    EXPECT_FALSE(update::CheckForUpdate(0));
}

TEST_F(VersionCheck, AServerThatNeverAnswersEndsTheCheckAfterTheTimeout) {
    // The test's environment sets a short time-out (VELBROOK_HTTP_TIMEOUT_MS).
    EXPECT_FALSE(CheckWith("hang", Answer("2.0"), 200, "hang"));
    EXPECT_EQ(server.Hits("hang"), 1);
}

TEST_F(VersionCheck, ATruncatedBodyGivesWhatArrived) {
    const std::string body = Answer("2.0");
    const size_t headerEnd = body.find('\n', 2) + 1;
    server.Script("truncated", body, 200, "truncate", headerEnd);
    {
        SiteUrlOverride site(server.CaseUrl("truncated"));
        EXPECT_EQ(update::FetchUrlText(update::VersionCheckUrl()), body.substr(0, headerEnd));
    }
    // Cut before the file line: 2 lines, no update.
    EXPECT_FALSE(CheckWith("truncated", body, 200, "truncate", headerEnd - 1));
    // A body that stops coming ends at the time-out with the part that came.
    EXPECT_FALSE(CheckWith("stalled", body, 200, "stall", headerEnd - 1));
}

class StartupCheck : public VersionCheck {
protected:
    void SetUp() override { DeleteStartupSetting(); }
    void TearDown() override { DeleteStartupSetting(); }

    static void DeleteStartupSetting() { testing_support::DeleteSetting("strtupdates"); }

    // Runs the start-up check as the main window does; returns whether it offered the update.
    bool StartupCheckOffers(bool startedAtLogon) {
        return update::CheckForUpdate(update::StartupCheckSkip(startedAtLogon));
    }
};

TEST_F(StartupCheck, SettingOneSuppressesTheCheckUnlessStartedAtLogon) {
    server.Script("startup", Answer("2.0"));
    SiteUrlOverride site(server.CaseUrl("startup"));

    EXPECT_TRUE(StartupCheckOffers(false));  // no setting
    EXPECT_EQ(server.Hits("startup"), 1);

    ASSERT_EQ(shell::WriteSetting("1", "strtupdates"), ERROR_SUCCESS);
    EXPECT_FALSE(StartupCheckOffers(false));
    EXPECT_EQ(server.Hits("startup"), 1) << "no request may go out";

    EXPECT_TRUE(StartupCheckOffers(true));  // "-t"
    EXPECT_EQ(server.Hits("startup"), 2);

    for (const char* other : {"0", "2", "-1", "yes"}) {
        ASSERT_EQ(shell::WriteSetting(other, "strtupdates"), ERROR_SUCCESS);
        EXPECT_TRUE(StartupCheckOffers(false)) << "strtupdates " << other;
    }
    EXPECT_EQ(server.Hits("startup"), 6);
}

}  // namespace
