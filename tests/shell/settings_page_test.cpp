// The settings page as a child of a stand-in main window, on the prefix's real settings key
// and Task Scheduler.

#include "shell/settings_page.h"

#include "engine/known_items.h"
#include "platform/app_messages.h"
#include "shell/logon_task.h"
#include "shell/monitor.h"
#include "shell/core/settings_key.h"
#include "tests/shell/scheduler_service.h"
#include "tests/shell/test_page_host.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/machine_state.h"
#include "update/version_check.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace testing_support;

const std::map<UINT, bool> kInitialStates = {
    {IDC_SETTINGS_DISABLE_ALL, false},    {IDC_SETTINGS_ENABLE_ALL, true},
    {IDC_SETTINGS_WARNING, true},         {IDC_SETTINGS_STARTUPS, true},
    {IDC_SETTINGS_STARTUP_UPDATES, true}, {IDC_SETTINGS_SYSTRAY, true},
    {IDC_SETTINGS_CHECK1, true},          {IDC_SETTINGS_KEEP_OFF, false}};

std::string TaskFileAsFolder() {
    char windows[MAX_PATH];
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\Tasks\\" + shell::LogonTaskName() + ".job";
}

class SettingsPage : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsKey();
        ::RemoveDirectoryA(TaskFileAsFolder().c_str());
        if (SchedulerRunning()) {
            BlockRootTask(shell::LogonTaskName(), false);
            shell::DeleteStartupTask(shell::LogonTaskName());
        }
    }
    void TearDown() override {
        page_.DestroyWindow();
        SetUp();
    }

    void Open() { ASSERT_TRUE(page_.Create(host_.Window())); }
    void Set(UINT control, bool on) {
        ::SendMessageA(page_.Item(control), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    std::vector<std::string> Save() {
        MessageBoxAnswers answers;
        page_.SendCommand(IDC_SETTINGS_SAVE);
        std::vector<std::string> texts;
        for (const auto& box : answers.shown()) {
            texts.push_back(box.caption + ": " + box.text);
        }
        return texts;
    }

    TestPageHost host_;
    shell::CSettingsPage page_;
};

TEST_F(SettingsPage, WithoutTheKeyShowsTheInitialStatesAndCaptionsNameTheValues) {
    Open();
    for (const auto& [control, on] : kInitialStates) {
        EXPECT_EQ(page_.IsChecked(control), on) << page_.ValueName(control);
    }
    EXPECT_EQ(page_.ValueName(IDC_SETTINGS_STARTUP_UPDATES), "strtupdates");
    EXPECT_EQ(page_.ValueName(IDC_SETTINGS_KEEP_OFF), "KeepOff");  // the monitor's value
    // The page itself is a hidden child until its tab shows it: look at the controls' own style.
    const auto shown = [&](UINT id) {
        return (::GetWindowLongPtrA(page_.Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
    };
    EXPECT_TRUE(shown(IDC_SETTINGS_WARNING + IDC_SETTINGS_LABEL_OFFSET));
    EXPECT_FALSE(shown(IDC_SETTINGS_CHECK1));
    EXPECT_FALSE(shown(IDC_SETTINGS_DISABLE_ALL));
}

TEST_F(SettingsPage, LoadsStoredValuesAndSavingWithoutAChangeDoesNothing) {
    shell::WriteSetting("0", "Warning");
    shell::WriteSetting("1", "Disableall");
    Open();
    EXPECT_FALSE(page_.IsChecked(IDC_SETTINGS_WARNING));
    EXPECT_TRUE(page_.IsChecked(IDC_SETTINGS_DISABLE_ALL));
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(shell::ReadSetting("systray", 7), 7);  // nothing written
    EXPECT_EQ(host_.trayApplied, 0);
}

TEST_F(SettingsPage, SavingAChangeWritesEveryRowCreatesOrDeletesTheTaskAndSaysSo) {
    SKIP_WITHOUT_SCHEDULER();  // every save asks the scheduler
    Open();
    Set(IDC_SETTINGS_STARTUP_UPDATES, false);
    EXPECT_EQ(Save(), std::vector<std::string>{"Velbrook: Settings has been saved successfully"});
    for (const auto& [control, on] : kInitialStates) {
        // "strtupdates" stores the opposite of its box: 1, the check unticked.
        const bool expected = control == IDC_SETTINGS_STARTUP_UPDATES ? true : on;
        EXPECT_EQ(shell::ReadSettingText(page_.ValueName(control)), expected ? "1" : "0");
    }
    EXPECT_TRUE(shell::TaskExists(shell::LogonTaskName()));

    Set(IDC_SETTINGS_STARTUPS, false);
    EXPECT_EQ(Save().size(), 1u);
    EXPECT_FALSE(shell::TaskExists(shell::LogonTaskName()));
}

// "Check for Updates on System Startup" shows and saves what its label says; the stored value
// keeps its meaning for the check at start-up (1 turns it off).
TEST_F(SettingsPage, TheStartupUpdateBoxMeansWhatItsLabelSays) {
    SKIP_WITHOUT_SCHEDULER();  // every save asks the scheduler
    struct Case {
        const char* stored;  // nullptr: missing
        bool ticked;
    };
    for (const Case& c :
         {Case{nullptr, true}, Case{"0", true}, Case{"1", false}, Case{"2", true}}) {
        SetUp();
        if (c.stored) {
            shell::WriteSetting(c.stored, "strtupdates");
        }
        Open();
        const std::string label = c.stored ? c.stored : "missing";
        EXPECT_EQ(page_.IsChecked(IDC_SETTINGS_STARTUP_UPDATES), c.ticked) << label;
        EXPECT_EQ(update::StartupCheckSkip(false) != 1, c.ticked) << label;

        Set(IDC_SETTINGS_STARTUP_UPDATES, !c.ticked);
        EXPECT_EQ(Save().size(), 1u) << label;
        EXPECT_EQ(shell::ReadSettingText("strtupdates"), c.ticked ? "1" : "0") << label;
        EXPECT_EQ(update::StartupCheckSkip(false) != 1, !c.ticked) << label;
        page_.DestroyWindow();
    }
}

TEST_F(SettingsPage, ATaskThatCannotBeCreatedIsReported) {
    SKIP_WITHOUT_SCHEDULER();  // every save asks the scheduler
    // Where each scheduler keeps the task, something of another kind is in the way.
    ASSERT_TRUE(::CreateDirectoryA(TaskFileAsFolder().c_str(), nullptr));
    BlockRootTask(shell::LogonTaskName(), true);
    Open();
    Set(IDC_SETTINGS_WARNING, false);
    EXPECT_EQ(Save(),
              std::vector<std::string>{std::string("Velbrook: ") + shell::kLogonTaskFailedMessage});
    EXPECT_EQ(shell::ReadSettingText("Warning"), "0");  // the settings are saved all the same
}

TEST_F(SettingsPage, SystrayAppliesToTheTrayIconOnSave) {
    SKIP_WITHOUT_SCHEDULER();  // every save asks the scheduler
    Open();
    Set(IDC_SETTINGS_SYSTRAY, false);
    Save();
    EXPECT_EQ(shell::ReadSetting("systray", 1), 0);
    EXPECT_EQ(host_.trayApplied, 1);
}

// A window of this thread that counts the monitor's alerts.
LRESULT CALLBACK CountAlerts(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == platform::MSG_MONITOR_NEW_ENTRY) {
        ++*reinterpret_cast<int*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        return 1;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(SettingsPage, WarningUntickedStopsTheMonitorsAlerts) {
    SKIP_WITHOUT_SCHEDULER();  // every save asks the scheduler
    ResetStartupSources();
    engine::KnownStartupItems().WithItems([](auto& items) { items.Clear(); });
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CountAlerts;
    wc.lpszClassName = "SettingsPageAlertCounter";
    ::RegisterClassA(&wc);
    int alerts = 0;
    HWND counter = ::CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr);
    ::SetWindowLongPtrA(counter, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&alerts));
    shell::MonitorContext monitor;
    monitor.notifyWindow = counter;
    shell::MonitorPass(monitor);

    Open();
    Set(IDC_SETTINGS_WARNING, false);
    Save();
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Sneaky", "s.exe");
    shell::MonitorPass(monitor);
    EXPECT_EQ(alerts, 0);

    Set(IDC_SETTINGS_WARNING, true);
    Save();
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Announced", "a.exe");
    shell::MonitorPass(monitor);
    EXPECT_EQ(alerts, 1);
    ::DestroyWindow(counter);
    ResetStartupSources();
}

}  // namespace
