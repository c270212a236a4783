// The new-startup monitor on the prefix's real registry and Startup folders. Passes run on the
// test thread (reporting to a window of this thread) or on workers while this thread pumps.

#include "shell/monitor.h"

#include "engine/known_items.h"
#include "engine/switching.h"
#include "platform/app_messages.h"
#include "shell/core/settings_key.h"
#include "tests/shell/message_window.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>
#include <vector>

namespace {

using namespace testing_support;
using engine::StartupItem;

constexpr char kHkcuRun[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A window of the test thread that records what the monitor sends it.
class NotifyWindow {
public:
    HWND hwnd() const { return window_.hwnd(); }

    std::vector<std::string> announced;  // name|location of each 1616
    int passesDone = 0;

private:
    MessageWindow window_{[this](UINT message, WPARAM wParam, LPARAM) {
        if (message == platform::MSG_MONITOR_NEW_ENTRY) {
            const auto& item = *reinterpret_cast<const StartupItem*>(wParam);
            announced.push_back(item.name + "|" + item.location);
            return true;
        }
        if (message == platform::MSG_MONITOR_DONE) {
            ++passesDone;
            return true;
        }
        return false;
    }};
};

size_t KnownCount() {
    return engine::KnownStartupItems().WithItems([](auto& items) { return items.size(); });
}

std::map<std::string, int> KnownNames() {
    std::map<std::string, int> names;
    engine::KnownStartupItems().WithItems(
        [&](auto& items) { items.ForEach([&](const StartupItem& item) { ++names[item.name]; }); });
    return names;
}

class Monitor : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetSettingsKey();
        engine::KnownStartupItems().WithItems([](auto& items) { items.Clear(); });
        context_.notifyWindow = window_.hwnd();
    }

    void Pass() { shell::MonitorPass(context_); }

    shell::MonitorContext context_;
    NotifyWindow window_;
};

TEST_F(Monitor, BaselineRecordsWithoutReportingAndOnlyNewNamesAreReportedOnce) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Present", "present.exe");
    CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    Pass();
    EXPECT_TRUE(window_.announced.empty());
    EXPECT_EQ(window_.passesDone, 1);
    EXPECT_TRUE(context_.baselineDone);
    EXPECT_EQ(KnownCount(), 2u);

    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Newcomer", "new.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "PRESENT", "other.exe");  // known name, any case
    Pass();
    EXPECT_EQ(window_.announced, std::vector<std::string>{std::string("Newcomer|") + kHkcuRun});
    Pass();
    EXPECT_EQ(window_.announced.size(), 1u);
    EXPECT_EQ(window_.passesDone, 3);
}

TEST_F(Monitor, ReaddedQuicklyIsNotReportedAgainButOnceForgottenItIs) {
    Pass();
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Flicker", "f.exe");
    Pass();
    ASSERT_EQ(window_.announced.size(), 1u);

    // Deleted and added again between two passes: nothing vanished as far as the monitor saw.
    platform::unique_hkey key;
    ::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.put());
    ::RegDeleteValueA(key.get(), "Flicker");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Flicker", "f.exe");
    Pass();
    EXPECT_EQ(window_.announced.size(), 1u);

    // Gone for a whole pass: pruned, so its return is news.
    ::RegDeleteValueA(key.get(), "Flicker");
    Pass();
    EXPECT_EQ(KnownCount(), 0u);
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Flicker", "f.exe");
    Pass();
    EXPECT_EQ(window_.announced.size(), 2u);
}

TEST_F(Monitor, TheProductsOwnNameSwitchedOffEntriesAndEmptyEntriesAreNeverReported) {
    Pass();
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "vELBROOK", "self.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Velbrook", "self.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "", "");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Parked", "p.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"Parked", "p.exe", kHkcuRun, true},
                                           engine::ReportStyle::Free()));
    Pass();
    EXPECT_TRUE(window_.announced.empty());
    EXPECT_EQ(KnownCount(), 0u);
}

TEST_F(Monitor, NewCommonStartupShortcutIsReportedByItsFileTitle) {
    Pass();
    CreateShortcut(CommonStartupFolder(), "Shared Helper.lnk", "C:\\windows\\notepad.exe", "-q");
    Pass();
    EXPECT_EQ(window_.announced, std::vector<std::string>{"Shared Helper|Common Startup"});
}

TEST_F(Monitor, EntrySwitchedBackOnByTheProgramRaisesNoAlert) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Comeback", "c.exe");
    const StartupItem item{"Comeback", "c.exe", kHkcuRun, true};
    ASSERT_TRUE(engine::DisableStartupItem(item, engine::ReportStyle::Free()));
    Pass();  // baseline: the entry sits in the store, not among the startups

    // What switching on does: the entry returns to its Run key and a copy joins the known list.
    StartupItem stored = item;
    stored.enabled = false;
    ASSERT_TRUE(engine::EnableStartupItem(stored, engine::ReportStyle::Free()));
    engine::KnownStartupItems().AppendCopy(item);
    Pass();
    Pass();
    EXPECT_TRUE(window_.announced.empty());
}

TEST_F(Monitor, WarningUntickedRecordsNewEntriesWithoutAlerting) {
    Pass();
    shell::WriteSetting("0", "Warning");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Quiet", "q.exe");
    Pass();
    EXPECT_TRUE(window_.announced.empty());
    EXPECT_EQ(KnownNames()["Quiet"], 1);

    shell::WriteSetting("1", "Warning");
    Pass();  // already recorded: no late alert either
    EXPECT_TRUE(window_.announced.empty());
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Loud", "l.exe");
    Pass();
    EXPECT_EQ(window_.announced.size(), 1u);
}

TEST_F(Monitor, PruningRemovesAtMostOneVanishedEntryPerPassFromTheEnd) {
    for (const char* name : {"A", "B", "C"}) {
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, "x.exe");
    }
    Pass();
    ResetStartupSources();
    Pass();
    EXPECT_EQ(KnownNames(), (std::map<std::string, int>{{"A", 1}, {"B", 1}}));
    Pass();
    EXPECT_EQ(KnownNames(), (std::map<std::string, int>{{"A", 1}}));
    Pass();
    Pass();
    EXPECT_EQ(KnownCount(), 0u);
    EXPECT_TRUE(window_.announced.empty());
}

TEST_F(Monitor, KnownTasksStayWhileTheSchedulerDoesNotAnswer) {
    engine::KnownStartupItems().AppendCopy({"\\V\\Up", "up.exe", "Task Scheduler", true});
    engine::KnownStartupItems().AppendCopy({"Gone", "x.exe", kHkcuRun, true});
    shell::MonitorReceiver silent(false, nullptr, nullptr);
    EXPECT_TRUE(silent.PruneOneVanished(false));
    EXPECT_FALSE(silent.PruneOneVanished(false));
    EXPECT_EQ(KnownNames(), (std::map<std::string, int>{{"\\V\\Up", 1}}));
    shell::MonitorReceiver answered(false, nullptr, nullptr);
    EXPECT_TRUE(answered.PruneOneVanished(true));
    EXPECT_EQ(KnownCount(), 0u);
}

TEST_F(Monitor, ReportsToNobodyWithoutAWindowOrWhenTheWindowIsGone) {
    Pass();
    context_.notifyWindow = nullptr;
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Unseen", "u.exe");
    Pass();
    HWND gone =
        ::CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    context_.notifyWindow = gone;
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Unseen2", "u.exe");
    Pass();
    EXPECT_EQ(KnownNames()["Unseen"], 1);
    EXPECT_EQ(KnownNames()["Unseen2"], 1);
    EXPECT_TRUE(window_.announced.empty());
}

// The window's thread appends (what switching entries back on does) while passes run on a
// worker and report to a window of that same thread: nothing deadlocks, nothing is lost twice
// or kept twice.
TEST_F(Monitor, AppendsOnTheWindowThreadDuringPassesNeitherDeadlockNorLoseEntries) {
    constexpr int kSeeded = 150, kAppends = 3000, kPasses = 40;
    for (int i = 0; i < kSeeded; ++i) {
        SetRunValue(HKEY_CURRENT_USER, kRunKey, "Seeded " + std::to_string(i), "s.exe");
    }
    Pass();
    const int donesBefore = window_.passesDone;

    std::atomic<bool> finished{false};
    std::thread worker([&] {
        for (int i = 0; i < kPasses; ++i) {
            shell::MonitorPass(context_);
        }
        finished = true;
    });
    int appended = 0;
    const DWORD start = ::GetTickCount();
    while (!finished && ::GetTickCount() - start < 300000) {
        if (appended < kAppends) {
            engine::KnownStartupItems().AppendCopy(
                {"Switched on " + std::to_string(appended), "on.exe", kHkcuRun, true});
            ++appended;
        }
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
    }
    ASSERT_TRUE(finished) << "the passes did not end";
    worker.join();
    while (appended < kAppends) {
        engine::KnownStartupItems().AppendCopy(
            {"Switched on " + std::to_string(appended++), "on.exe", kHkcuRun, true});
    }

    EXPECT_EQ(window_.passesDone - donesBefore, kPasses);
    EXPECT_TRUE(window_.announced.empty());
    const auto names = KnownNames();
    int switchedOn = 0;
    for (int i = 0; i < kSeeded; ++i) {
        EXPECT_EQ(names.at("Seeded " + std::to_string(i)), 1);
    }
    for (const auto& [name, count] : names) {
        EXPECT_EQ(count, 1) << name;
        switchedOn += name.starts_with("Switched on") ? 1 : 0;
    }
    // Each pass may forget one switched-on entry that has no source; no more.
    EXPECT_GE(switchedOn, kAppends - kPasses);
    EXPECT_EQ(names.size(), static_cast<size_t>(kSeeded + switchedOn));
}

TEST_F(Monitor, StartMonitorPassRunsOnAWorkerThatReportsToTheWindowThread) {
    shell::StartMonitorPass(window_.hwnd());  // the program's context: its first pass
    ASSERT_TRUE([&] {
        const DWORD start = ::GetTickCount();
        while (!shell::WaitForMonitorPass(10)) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::DispatchMessageA(&msg);
            }
            if (::GetTickCount() - start > 60000) {
                return false;
            }
        }
        return true;
    }());
    EXPECT_EQ(window_.passesDone, 1);
    EXPECT_TRUE(shell::TheMonitorContext().baselineDone);
}

}  // namespace
