// The logon-task source and its switch against the prefix's Task Scheduler service. Wine 8's
// service takes tasks from XML but keeps neither their triggers nor their actions, can't
// enumerate a folder's tasks, and takes put_Enabled without changing the task; the checks that
// need those calls are marked below and run in full on Windows.

#include "engine/listing.h"
#include "engine/logon_task_snapshot.h"
#include "engine/logon_tasks.h"
#include "engine/task_service.h"
#include "history/fix_files.h"
#include "history/manual_save.h"
#include "history/restore.h"
#include "shell/monitor.h"
#include "engine/known_items.h"
#include "tests/shell/scheduler_service.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace {

using namespace testing_support;
using engine::StartupItem;

constexpr char kClsid[] = "{11111111-2222-3333-4444-555555555555}";
constexpr char kVendor[] = "VbTestVendor";

std::string TaskXml(const std::string& trigger, bool enabled, const std::string& actions) {
    return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>"
           "<Task version=\"1.2\" "
           "xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
           "<Triggers>" +
           trigger +
           "</Triggers><Principals><Principal id=\"Author\"><LogonType>InteractiveToken"
           "</LogonType></Principal></Principals><Settings><Enabled>" +
           (enabled ? "true" : "false") + "</Enabled></Settings><Actions Context=\"Author\">" +
           actions + "</Actions></Task>";
}

std::string Exec(const std::string& path, const std::string& arguments) {
    return "<Exec><Command>" + path + "</Command><Arguments>" + arguments + "</Arguments></Exec>";
}

const std::string kLogon = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>";
const std::string kBoot = "<BootTrigger><Enabled>true</Enabled></BootTrigger>";
const std::string kTime =
    "<TimeTrigger><StartBoundary>2030-01-01T00:00:00</StartBoundary></TimeTrigger>";

struct TaskSpec {
    const char* folder;  // "" for the root
    const char* name;
    std::string xml;
};

class LogonTasks : public ::testing::Test {
protected:
    void SetUp() override {
        SKIP_WITHOUT_SCHEDULER();
        ResetStartupSources();
        ResetDataFolder();
        ASSERT_HRESULT_SUCCEEDED(engine::ConnectTaskService(service_));
        ASSERT_HRESULT_SUCCEEDED(service_->GetFolder(engine::unique_bstr("\\").get(), root_.put()));
        for (const TaskSpec& task : Specs()) {
            Delete(task);
        }
        root_->DeleteFolder(engine::unique_bstr(kVendor).get(), 0);
    }
    void TearDown() override {
        if (root_) {
            for (const TaskSpec& task : Specs()) {
                Delete(task);
            }
            root_->DeleteFolder(engine::unique_bstr(kVendor).get(), 0);
        }
    }

    static std::vector<TaskSpec> Specs() {
        return {
            {"", "VbTest A logon", TaskXml(kLogon, true, Exec("C:\\Tools\\a.exe", "/tray"))},
            {"", "VbTest B time", TaskXml(kTime, true, Exec("C:\\Tools\\b.exe", ""))},
            {"", "Velbrook startups", TaskXml(kLogon, true, Exec("C:\\Velbrook.exe", "-t"))},
            {kVendor, "Boot",
             TaskXml(kBoot, true,
                     "<ComHandler><ClassId>" + std::string(kClsid) + "</ClassId></ComHandler>")},
            {kVendor, "Off", TaskXml(kLogon, false, Exec("C:\\Tools\\off.exe", "-x"))},
        };
    }

    platform::com_ptr<ITaskFolder> Folder(const char* folder) {
        platform::com_ptr<ITaskFolder> found;
        const std::string path = std::string("\\") + folder;
        if (FAILED(service_->GetFolder(engine::unique_bstr(path).get(), found.put())) && *folder) {
            root_->CreateFolder(engine::unique_bstr(folder).get(), engine::NoVariant(),
                                found.put());
        }
        return found;
    }

    void Register(const TaskSpec& task) {
        platform::com_ptr<IRegisteredTask> registered;
        const VARIANT none = engine::NoVariant();
        const auto folder = Folder(task.folder);
        ASSERT_TRUE(folder) << task.folder;
        ASSERT_HRESULT_SUCCEEDED(
            folder->RegisterTask(engine::unique_bstr(task.name).get(),
                                 engine::unique_bstr(task.xml).get(), TASK_CREATE_OR_UPDATE, none,
                                 none, TASK_LOGON_INTERACTIVE_TOKEN, none, registered.put()))
            << task.name;
    }

    void Delete(const TaskSpec& task) {
        if (auto folder = Folder(task.folder)) {
            folder->DeleteTask(engine::unique_bstr(task.name).get(), 0);
        }
    }

    static bool TaskEnabled(const std::string& path) {
        platform::com_ptr<IRegisteredTask> task;
        VARIANT_BOOL enabled = VARIANT_FALSE;
        EXPECT_HRESULT_SUCCEEDED(engine::OpenRegisteredTask(path, task));
        if (task) {
            task->get_Enabled(&enabled);
        }
        return enabled != VARIANT_FALSE;
    }

    platform::ComApartment apartment_;
    platform::com_ptr<ITaskService> service_;
    platform::com_ptr<ITaskFolder> root_;
    MessageBoxRecorder boxes;
};

TEST_F(LogonTasks, TasksStartedAtLogonOrBootAreListedInFolderOrderWithTheirCommands) {
    for (const TaskSpec& task : Specs()) {
        Register(task);
    }
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "RunFirst", "r.exe");
    std::vector<std::string> listed;
    const bool read = engine::EnumerateAllSources([&](const StartupItem& item) {
        listed.push_back(item.name + "|" + item.command + "|" + item.location + "|" +
                         (item.enabled ? "on" : "off"));
    });
    EXPECT_TRUE(read);
    ASSERT_FALSE(listed.empty());
    EXPECT_EQ(listed[0],
              "RunFirst|r.exe|HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run|on");
    MARK_WINE_LACKS(
        "IRegisteredTaskCollection get_Count/get_Item/get__NewEnum (E_NOTIMPL), "
        "ITriggerCollection and IActionCollection get_Count/get_Item (E_NOTIMPL), "
        "and keeps no triggers or actions of a task registered from XML");
    EXPECT_EQ(listed, (std::vector<std::string>{
                          listed[0],
                          "\\VbTest A logon|C:\\Tools\\a.exe /tray|Task Scheduler|on",
                          "\\VbTestVendor\\Boot|" + std::string(kClsid) + "|Task Scheduler|on",
                          "\\VbTestVendor\\Off|C:\\Tools\\off.exe -x|Task Scheduler|off",
                      }));
}

// The window thread's listings take the tasks of the last read at once; the read each of them
// starts on a worker tells the subscribers when the service holds other tasks.
TEST_F(LogonTasks, AWindowsListingTakesTheSnapshotAndAReadThatDiffersIsAnnounced) {
    platform::unique_handle changed(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    std::atomic<int> calls{0};
    engine::TaskSnapshotSubscription subscription([&] {
        ++calls;
        ::SetEvent(changed.get());
    });
    const StartupItem kept{"\\VbTest kept only", "C:\\Tools\\kept.exe", "Task Scheduler", false};
    engine::KeepLogonTaskSnapshot({kept});
    engine::KeepLogonTaskSnapshot({kept});
    EXPECT_EQ(calls, 1);
    ::ResetEvent(changed.get());
    std::vector<std::string> listed;
    const auto list = [&](const StartupItem& item) {
        listed.push_back(item.name + (item.enabled ? "|on" : "|off"));
    };
    EXPECT_TRUE(engine::EnumerateAllSources(engine::TaskRead::Snapshot, list));
    EXPECT_EQ(listed, std::vector<std::string>{"\\VbTest kept only|off"});
    // No task of that name is registered: the read that the listing started finds the
    // service's own tasks instead.
    ASSERT_EQ(::WaitForSingleObject(changed.get(), 2 * engine::kTaskServiceTimeoutMs),
              WAIT_OBJECT_0);
    listed.clear();
    engine::EnumerateAllSources(engine::TaskRead::Snapshot, list);
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), "\\VbTest kept only|off") == listed.end());
}

// A service that hangs holds a full read for the bound, then the listing goes on without the
// tasks; a window's listing takes the snapshot and never waits for the service.
TEST_F(LogonTasks, AServiceThatDoesNotAnswerIsLeftOutOfAFullReadAndNeverHoldsAWindowsListing) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "RunFirst", "r.exe");
    const StartupItem kept{"\\VbTest kept only", "C:\\Tools\\kept.exe", "Task Scheduler", true};
    engine::KeepLogonTaskSnapshot({kept});
    std::vector<std::string> listed;
    const auto list = [&](const StartupItem& item) { listed.push_back(item.name); };
    {
        SuspendedScheduler hung;
        ASSERT_TRUE(hung.ok());
        EXPECT_TRUE(engine::EnumerateAllSources(engine::TaskRead::Snapshot, list));
        EXPECT_EQ(listed, (std::vector<std::string>{"RunFirst", kept.name}));
        listed.clear();
        EXPECT_FALSE(engine::EnumerateAllSources(list));
        EXPECT_EQ(listed, std::vector<std::string>{"RunFirst"});
    }
    // The read left waiting ends on its own once the service answers.
    listed.clear();
    EXPECT_TRUE(engine::EnumerateAllSources(list));
    EXPECT_EQ(listed.front(), "RunFirst");
}

TEST_F(LogonTasks, SwitchingOffRecordsTheTaskInTheHistoryAndRestoreSwitchesItBackOn) {
    Register(Specs()[0]);
    StartupItem item{"\\VbTest A logon", "C:\\Tools\\a.exe /tray", "Task Scheduler", true};
    const auto saved = history::SaveManualChanges({{&item, false}}, engine::ReportStyle::Free());
    EXPECT_EQ(saved.switchedOff, 1);
    EXPECT_TRUE(saved.recorded);
    EXPECT_TRUE(boxes.shown().empty());
    // Still registered: off is the task's own flag, not a deletion.
    platform::com_ptr<IRegisteredTask> task;
    EXPECT_HRESULT_SUCCEEDED(engine::OpenRegisteredTask(item.name, task));

    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 1u);
    std::vector<StartupItem> entries;
    history::ReadFixFile(fixes[0].fixFilePath, entries);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, item.name);
    EXPECT_EQ(entries[0].location, "Task Scheduler");
    EXPECT_EQ(entries[0].command, item.command);
    const bool offReadBack = TaskEnabled(item.name);

    const auto restored = history::RestoreFixEntries(fixes[0].fixFilePath, entries, {true});
    EXPECT_EQ(restored.failed, 0);
    EXPECT_TRUE(restored.fixFileDeleted);
    EXPECT_TRUE(TaskEnabled(item.name));
    MARK_WINE_LACKS("a working IRegisteredTask::put_Enabled (S_OK, the task stays enabled)");
    EXPECT_FALSE(offReadBack);
}

TEST_F(LogonTasks, ATaskThatCantBeChangedGivesTheUsualFailureAndIsNotRecorded) {
    StartupItem item{"\\NoSuchVendor\\Gone", "gone.exe", "Task Scheduler", true};
    const auto saved = history::SaveManualChanges({{&item, false}}, engine::ReportStyle::Free());
    EXPECT_EQ(saved.switchedOff, 0);
    EXPECT_FALSE(saved.recorded);
    EXPECT_TRUE(history::ListedFixes().empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "STARTUP ERROR: Disabled Fail\\NoSuchVendor\\Gone");
    EXPECT_TRUE(item.enabled);
}

TEST_F(LogonTasks, TheMonitorAnnouncesANewlyRegisteredLogonTaskOnce) {
    engine::KnownStartupItems().WithItems([](auto& items) { items.Clear(); });
    std::vector<std::string> announced;
    const auto pass = [&](bool baseline) {
        shell::MonitorReceiver receiver(
            baseline,
            [](const StartupItem& item, void* data) {
                static_cast<std::vector<std::string>*>(data)->push_back(item.name);
            },
            &announced);
        const bool read =
            engine::EnumerateAllSources([&](const StartupItem& item) { receiver.Receive(item); });
        receiver.PruneOneVanished(read);
    };
    pass(true);
    Register(Specs()[0]);
    Register(Specs()[1]);
    pass(false);
    pass(false);
    MARK_WINE_LACKS("IRegisteredTaskCollection get_Count/get_Item (E_NOTIMPL)");
    EXPECT_EQ(announced, std::vector<std::string>{"\\VbTest A logon"});
}

}  // namespace
