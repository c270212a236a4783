// The next version's release, made by the release command and served by the reference server,
// as the program's own version check meets it.

#include "tests/support/data_folder.h"
#include "tests/support/run_process.h"

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

TEST(ServedRelease, VersionCheckOfTheProgramFindsIt) {
    ResetSettingsKey();
    ::SetEnvironmentVariableA("VELBROOK_SITE_URL", ServedSite().c_str());
    const auto result = RunVelbrookc("check-update");
    ::SetEnvironmentVariableA("VELBROOK_SITE_URL", nullptr);
    EXPECT_EQ(result.exitCode, 10u) << result.out << result.err;
    EXPECT_NE(result.out.find("Remote version: " NEXT_VERSION), std::string::npos) << result.out;
}

}  // namespace
