// RunUpdateDialog with stand-ins for Renovix.dll, which the tests copy beside this program
// (it runs in a folder of its own, so nothing else there is touched).

#include "platform/module_path.h"
#include "update/renovix_loader.h"

#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int ReadNumber(const char* name) {
    char text[32] = {};
    return ::GetEnvironmentVariableA(name, text, sizeof text) ? std::atoi(text) : 0;
}

class RenovixLoader : public testing::Test {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableA("RENOVIX_STAND_IN_LOADS", "0");
        ::SetEnvironmentVariableA("RENOVIX_STAND_IN_CALLS", "0");
        ::DeleteFileA(renovix_.c_str());
    }
    void TearDown() override {
        // Leaves the library unloaded for the next test.
        if (::GetModuleHandleA("Renovix.dll")) {
            AnswerWith(1);
            update::RunUpdateDialog();
        }
        ::DeleteFileA(renovix_.c_str());
    }

    void Place(const char* standIn) {
        const std::string built = folder_ + "..\\" + standIn;
        ASSERT_TRUE(::CopyFileA(built.c_str(), renovix_.c_str(), FALSE))
            << built << ": " << ::GetLastError();
    }
    static void AnswerWith(int result) {
        ::SetEnvironmentVariableA("RENOVIX_STAND_IN_RESULT", std::to_string(result).c_str());
    }
    static std::string RunAndCaptureOutput() {
        testing::internal::CaptureStdout();
        update::RunUpdateDialog();
        return testing::internal::GetCapturedStdout();
    }
    static bool Loaded() { return ::GetModuleHandleA("Renovix.dll") != nullptr; }

    const std::string folder_ = platform::ProgramFolderWithBackslash();
    const std::string renovix_ = folder_ + "Renovix.dll";
};

TEST_F(RenovixLoader, ResultOneUnloadsSoTheNextCallLoadsTheFileAgain) {
    Place("renovix_stand_in.dll");
    AnswerWith(1);
    EXPECT_EQ(RunAndCaptureOutput(), "");
    EXPECT_FALSE(Loaded());
    update::RunUpdateDialog();
    EXPECT_FALSE(Loaded());
    EXPECT_EQ(ReadNumber("RENOVIX_STAND_IN_LOADS"), 2);
    EXPECT_EQ(ReadNumber("RENOVIX_STAND_IN_CALLS"), 2);
}

TEST_F(RenovixLoader, AnyOtherResultKeepsTheLibraryLoaded) {
    Place("renovix_stand_in.dll");
    for (const int result : {0, 2, -1}) {
        AnswerWith(result);
        update::RunUpdateDialog();
        EXPECT_TRUE(Loaded()) << result;
    }
    EXPECT_EQ(ReadNumber("RENOVIX_STAND_IN_LOADS"), 1);
    EXPECT_EQ(ReadNumber("RENOVIX_STAND_IN_CALLS"), 3);
}

// The line alone once was all: the veil flashed and the user was told nothing.
TEST_F(RenovixLoader, WithoutTheFileTheUserIsToldSo) {
    std::vector<std::string> boxes;
    auto previous = platform::SetMessageBoxHandler([&](const platform::MessageBoxRequest& box) {
        boxes.push_back(box.text);
        return IDOK;
    });
    EXPECT_EQ(RunAndCaptureOutput(), "Message printed from executable\n");
    platform::SetMessageBoxHandler(previous);
    EXPECT_FALSE(Loaded());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], update::kRenovixMissing);
}

TEST_F(RenovixLoader, WithoutTheExportPrintsTheLineAndLetsARepairedCopyLoad) {
    Place("renovix_without_export.dll");
    auto previous =
        platform::SetMessageBoxHandler([](const platform::MessageBoxRequest&) { return IDOK; });
    EXPECT_EQ(RunAndCaptureOutput(), "Message printed from executable\n");
    platform::SetMessageBoxHandler(previous);
    EXPECT_FALSE(Loaded());

    ASSERT_TRUE(::DeleteFileA(renovix_.c_str()));
    Place("renovix_stand_in.dll");
    AnswerWith(0);
    EXPECT_EQ(RunAndCaptureOutput(), "");
    EXPECT_EQ(ReadNumber("RENOVIX_STAND_IN_CALLS"), 1);
}

}  // namespace
