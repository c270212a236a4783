// The logon task through the prefix's real Task Scheduler, read back through its interfaces.

#include "shell/logon_task.h"

#include "platform/module_path.h"
#include "tests/shell/scheduler_service.h"

#include <gtest/gtest.h>

namespace {

using shell::TaskChange;

constexpr char kTestTask[] = "Velbrook test startups";

std::string TasksFolder() {
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Tasks";
}

TaskChange CreateAtLogon(const std::string& folder, const std::string& comment = "Runs it.") {
    return shell::CreateStartupTask(kTestTask, "Velbrook.exe", comment, folder, 0, 0, 0,
                                    TASK_EVENT_TRIGGER_AT_LOGON, "-t");
}

class LogonTask : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_SCHEDULER();
        ::RemoveDirectoryA((TasksFolder() + "\\" + shell::LogonTaskName() + ".job").c_str());
        shell::DeleteStartupTask(kTestTask);
        shell::DeleteStartupTask(shell::LogonTaskName());
    }
    void TearDown() override {
        if (testing_support::SchedulerRunning()) {
            SetUp();
        }
    }
};

TEST_F(LogonTask, WorkItemReadsBackWithEverythingItWasGiven) {
    const std::string folder = "C:\\Program Files\\Velbrook Test Folder";
    ASSERT_EQ(CreateAtLogon(folder, "Runs Velbrook at Scheduled Time."), TaskChange::Created);
    ASSERT_TRUE(shell::TaskExists(kTestTask));

    const auto task = shell::ReadTask(kTestTask);
    ASSERT_TRUE(task);
    EXPECT_EQ(task->application, "\"" + folder + "\\Velbrook.exe\"");
    EXPECT_EQ(task->workingDirectory, folder);
    EXPECT_EQ(task->parameters, "-t");
    EXPECT_EQ(task->comment, "Runs Velbrook at Scheduled Time.");
    ASSERT_EQ(task->triggers.size(), 1u);
    const TASK_TRIGGER& trigger = task->triggers[0];
    EXPECT_EQ(trigger.cbTriggerSize, 48);
    EXPECT_EQ(trigger.TriggerType, TASK_EVENT_TRIGGER_AT_LOGON);
    SYSTEMTIME today;
    ::GetLocalTime(&today);
    EXPECT_EQ(trigger.wBeginYear, today.wYear);
    EXPECT_EQ(trigger.wBeginMonth, today.wMonth);
    EXPECT_EQ(trigger.wBeginDay, today.wDay);
    EXPECT_EQ(trigger.wStartHour, 0);
    EXPECT_EQ(trigger.wStartMinute, 0);
}

TEST_F(LogonTask, RunOnlyWhileLoggedOnFlagIsKept) {
    ASSERT_EQ(CreateAtLogon("C:\\Velbrook"), TaskChange::Created);
    const auto task = shell::ReadTask(kTestTask);
    ASSERT_TRUE(task);
    if (task->flags == 0) {
        // Wine's scheduler accepts SetFlags but keeps nothing; Windows keeps the flag.
        GTEST_SKIP() << "this Task Scheduler does not keep work item flags";
    }
    EXPECT_EQ(task->flags & TASK_FLAG_RUN_ONLY_IF_LOGGED_ON, TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
}

TEST_F(LogonTask, DeletingIsQuietForAMissingTaskAndRemovesAnExistingOne) {
    EXPECT_FALSE(shell::TaskExists(kTestTask));
    EXPECT_TRUE(shell::DeleteStartupTask(kTestTask));
    ASSERT_EQ(CreateAtLogon("C:\\Velbrook"), TaskChange::Created);
    EXPECT_TRUE(shell::DeleteStartupTask(kTestTask));
    EXPECT_FALSE(shell::TaskExists(kTestTask));
}

TEST_F(LogonTask, ATaskForThisProgramIsLeftAsItIsAndOneForAnotherPathIsReplaced) {
    ASSERT_EQ(CreateAtLogon("C:\\Old Place", "first"), TaskChange::Created);
    EXPECT_EQ(CreateAtLogon("c:\\old place", "second"), TaskChange::Unchanged);
    EXPECT_EQ(shell::ReadTask(kTestTask)->comment, "first");

    ASSERT_EQ(CreateAtLogon("C:\\New Place", "third"), TaskChange::Created);
    const auto task = shell::ReadTask(kTestTask);
    ASSERT_TRUE(task);
    EXPECT_EQ(task->application, "\"C:\\New Place\\Velbrook.exe\"");
    EXPECT_EQ(task->workingDirectory, "C:\\New Place");
    EXPECT_EQ(task->comment, "third");
    EXPECT_EQ(task->triggers.size(), 1u);
}

TEST_F(LogonTask, ApplyCreatesTheProgramsTaskAndDeletesItAndReportsWhatItCouldNotDo) {
    ASSERT_TRUE(shell::ApplyLogonTask(true));
    auto task = shell::ReadTask(shell::LogonTaskName());
    ASSERT_TRUE(task);
    std::string folder = platform::ProgramFolderWithBackslash();
    EXPECT_EQ(task->application, "\"" + folder + "Velbrook.exe\"");
    folder.pop_back();
    EXPECT_EQ(task->workingDirectory, folder);
    EXPECT_EQ(task->comment, "Runs Velbrook at Scheduled Time.");
    EXPECT_TRUE(shell::ApplyLogonTask(true));  // kept as it is
    EXPECT_TRUE(shell::ApplyLogonTask(false));
    EXPECT_FALSE(shell::TaskExists(shell::LogonTaskName()));

    // A folder where the work item's file belongs: the scheduler can't save the task.
    ASSERT_TRUE(::CreateDirectoryA((TasksFolder() + "\\" + shell::LogonTaskName() + ".job").c_str(),
                                   nullptr));
    EXPECT_FALSE(shell::ApplyLogonTask(true));
}

}  // namespace
