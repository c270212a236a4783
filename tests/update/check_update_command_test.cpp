// velbrookc check-update against the loopback version server, run as a user would run it.

#include "tests/support/run_process.h"
#include "tests/update/version_server_client.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::SiteUrlOverride;
using testing_support::VersionServer;

// The product's version, which velbrookc carries (from CMakeLists.txt).
const std::string kOwn = VELBROOK_VERSION;

std::string Answer(const std::string& latest) {
    return "1\nVelbrook\t" + latest +
           "\t1\t0\nVelbrook.exe\t\\\t2048\thttp://127.0.0.1/v.zip\t1\t0";
}

// Console output is text mode: line ends come as CR LF.
std::string Lines(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

struct Case {
    const char* name;
    std::string body;
    int status;
    const char* mode;
    unsigned long exitCode;
    std::string out;
};

TEST(CheckUpdateCommand, PrintsBothVersionsAndTellsByItsExitCode) {
    const VersionServer server;
    const std::string higher = kOwn + ".1";  // one more part: higher, whatever the version
    const Case cases[] = {
        {"same", Answer(kOwn), 200, "normal", 0,
         "Own version: " + kOwn + "\nRemote version: " + kOwn + "\nup to date\n"},
        {"lower", Answer("0.9"), 200, "normal", 0,
         "Own version: " + kOwn + "\nRemote version: 0.9\nup to date\n"},
        {"higher", Answer(higher), 200, "normal", 10,
         "Own version: " + kOwn + "\nRemote version: " + higher + "\nupdate available\n"},
        {"four_lines", Answer(higher) + "\n", 200, "normal", 1, "Own version: " + kOwn + "\n"},
        {"not_found", Answer(higher), 404, "normal", 1, "Own version: " + kOwn + "\n"},
        {"hang", Answer(higher), 200, "hang", 1, "Own version: " + kOwn + "\n"},
    };
    for (const auto& c : cases) {
        const std::string caseName = std::string("cli_") + c.name;
        server.Script(caseName, c.body, c.status, c.mode);
        SiteUrlOverride site(server.CaseUrl(caseName));
        const auto run = testing_support::RunVelbrookc("check-update");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        EXPECT_EQ(Lines(run.out), c.out) << c.name;
        EXPECT_EQ(server.Hits(caseName), 1) << c.name;
    }
}

TEST(CheckUpdateCommand, FailsWithoutAServer) {
    SiteUrlOverride site("http://127.0.0.1:1");  // nothing listens there
    const auto run = testing_support::RunVelbrookc("check-update");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(Lines(run.out), "Own version: " + kOwn + "\n");
    EXPECT_EQ(Lines(run.err),
              "No version answer from http://127.0.0.1:1/admin/vercheck.asp?bitver=32.\n");
}

}  // namespace
