// Entries that put themselves back after they were switched off: recognised in the listing,
// switched off again with one store record, announced, and kept off by the monitor when the
// user wants it. On the prefix's real registry, Startup folders and data folder.

#include "cleanup/ignore_list.h"
#include "cleanup/keep_off.h"
#include "engine/known_items.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "engine/text.h"
#include "history/fix_files.h"
#include "platform/app_messages.h"
#include "shell/core/settings_key.h"
#include "shell/monitor.h"
#include "shell/new_startup_alert.h"
#include "tests/shell/message_window.h"
#include "tests/shell/test_page_host.h"
#include "tests/support/dialog_driver.h"
#include "tests/engine/run_locations.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <random>
#include <thread>

namespace {

using namespace testing_support;
using engine::StartupItem;

constexpr char kStoreReg[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
constexpr char kStoreFolder[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";

// The store records (of both kinds, 64-bit view) whose item is name.
int StoreRecordsOf(const std::string& name) {
    int count = 0;
    for (const char* path : {kStoreReg, kStoreFolder}) {
        platform::unique_hkey store;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, store.put()) !=
            ERROR_SUCCESS) {
            continue;
        }
        char subkey[1024];
        for (DWORD i = 0; ::RegEnumKeyA(store.get(), i, subkey, sizeof subkey) == ERROR_SUCCESS;
             ++i) {
            char item[1024] = "";
            DWORD size = sizeof item;
            if (::RegGetValueA(store.get(), subkey, "item", RRF_RT_REG_SZ, nullptr, item, &size) ==
                    ERROR_SUCCESS &&
                name == item) {
                ++count;
            }
        }
    }
    return count;
}

// The listed rows of that name as "location|state", state "on", "back" or "off".
std::vector<std::string> RowsOf(const std::string& name) {
    std::vector<std::string> rows;
    engine::ListStartupItems().ForEach([&](const StartupItem& item) {
        if (item.name == name) {
            rows.push_back(item.location + "|" +
                           (item.returned  ? "back"
                            : item.enabled ? "on"
                                           : "off"));
        }
    });
    return rows;
}

class Returning : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetSettingsKey();
        ResetDataFolder();
        cleanup::LoadIgnoreList();
        engine::KnownStartupItems().WithItems([](auto& items) { items.Clear(); });
    }
    MessageBoxRecorder boxes;
};

struct Source {
    const char* what;
    HKEY root;
    const char* key;  // null: the user's Startup folder
    REGSAM view;
    std::string location;
};

const Source kSources[] = {
    {"HKCU Run", HKEY_CURRENT_USER, kRunKey, KEY_WOW64_64KEY, kHkcuRun},
    {"HKLM Run", HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_64KEY, kHklmRun},
    {"HKLM Run, 32-bit view", HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_32KEY, kWowRun},
    {"HKCU RunOnce", HKEY_CURRENT_USER, kRunOnceKey, KEY_WOW64_64KEY, kHkcuRun + "Once"},
    {"Startup folder", HKEY_CURRENT_USER, nullptr, 0, "Startup"},
};

// Writes the entry as "the program" does; a shortcut's command is its target (no arguments).
void Write(const Source& source, const std::string& name, const std::string& command) {
    if (source.key) {
        SetRunValue(source.root, source.key, name, command, REG_SZ, source.view);
    } else {
        CreateShortcut(UserStartupFolder(), name + ".lnk", command, "");
    }
}

TEST_F(Returning, AnEntryWrittenBackIsListedOnceMarkedAndSwitchedOffWithOneRecord) {
    const std::string v1 = "C:\\Apps\\Chat\\app-1.0.9003\\chat.exe";
    const std::string v2 = "C:\\Apps\\Chat\\app-1.0.9013\\chat.exe";
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.what);
        SetUp();
        Write(source, "Chat", v1);
        ASSERT_TRUE(engine::DisableStartupItem({"Chat", v1, source.location, true},
                                               engine::ReportStyle::Free()));
        // Put back by an update into a new version folder: the same program.
        Write(source, "Chat", v2);
        EXPECT_EQ(RowsOf("Chat"), std::vector<std::string>{source.location + "|back"});
        EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Disabled).size(), 0u);

        // The older stored copy can't be switched on over it.
        StartupItem stored{"Chat", v1, source.location, false};
        const size_t shownBefore = boxes.shown().size();
        EXPECT_FALSE(engine::EnableStartupItem(stored, engine::ReportStyle::Free()));
        ASSERT_EQ(boxes.shown().size(), shownBefore + 1);
        EXPECT_EQ(boxes.shown().back().text,
                  "\"Chat\" was not switched on: it has put itself back on Windows startup since "
                  "it was switched off, and is running at startup already. Switch it off to keep "
                  "it off.");

        // Switched off again: the record is replaced by the newest command, never doubled.
        EXPECT_TRUE(engine::DisableStartupItem({"Chat", v2, source.location, true},
                                               engine::ReportStyle::Free()));
        EXPECT_EQ(StoreRecordsOf("Chat"), 1);
        const auto off = engine::ListStartupItems(engine::EntryFilter::Disabled);
        ASSERT_EQ(off.size(), 1u);
        EXPECT_EQ(engine::TrimBlanks(off[0].command), v2);
        // Back on from the store: the newest command returns.
        EXPECT_TRUE(engine::EnableStartupItem(off[0], engine::ReportStyle::Free()));
        EXPECT_EQ(RowsOf("Chat"), std::vector<std::string>{source.location + "|on"});
    }
}

TEST_F(Returning, ADifferentProgramOrTheSameNameElsewhereIsNoReturn) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Sync", "C:\\Apps\\Sync\\sync.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"Sync", "C:\\Apps\\Sync\\sync.exe", kHkcuRun, true},
                                           engine::ReportStyle::Free()));
    // The same name in another source, and another program under the same name and key.
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Sync", "C:\\Apps\\Sync\\sync.exe");
    CreateShortcut(UserStartupFolder(), "Sync.lnk", "C:\\Apps\\Sync\\sync.exe", "");
    EXPECT_EQ(RowsOf("Sync"),
              (std::vector<std::string>{kHklmRun + "|on", "Startup|on", kHkcuRun + "|off"}));
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Sync", "C:\\Other\\sync-helper.exe");
    EXPECT_EQ(RowsOf("Sync"), (std::vector<std::string>{kHkcuRun + "|on", kHklmRun + "|on",
                                                        "Startup|on", kHkcuRun + "|off"}));
}

TEST_F(Returning, ANameWrittenBackInAnotherCaseOfAnyScriptIsTheSameEntry) {
    const std::string lower = "\xD0\xBE\xD0\xB1\xD0\xBB\xD0\xB0\xD0\xBA\xD0\xBE";  // "облако"
    const std::string upper = "\xD0\x9E\xD0\x91\xD0\x9B\xD0\x90\xD0\x9A\xD0\x9E";  // "ОБЛАКО"
    const std::string command = "C:\\Apps\\oblako.exe";
    SetRunValue(HKEY_CURRENT_USER, kRunKey, lower, command);
    ASSERT_TRUE(
        engine::DisableStartupItem({lower, command, kHkcuRun, true}, engine::ReportStyle::Free()));
    SetRunValue(HKEY_CURRENT_USER, kRunKey, upper, command);
    EXPECT_EQ(RowsOf(upper), std::vector<std::string>{kHkcuRun + "|back"});
    EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Disabled).size(), 0u);
}

TEST_F(Returning, TheAlertOffersToSwitchOffAgainAsAManualFixOrToLeaveIt) {
    TestPageHost host;
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Chat", "chat.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"Chat", "chat.exe", kHkcuRun, true},
                                           engine::ReportStyle::Free()));
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Chat", " \"CHAT.exe\"");
    const auto returned = engine::ListStartupItems(engine::EntryFilter::Active);
    ASSERT_EQ(returned.size(), 1u);
    ASSERT_TRUE(returned[0].returned);
    for (const UINT button : {IDCANCEL, IDOK}) {
        shell::CAlertDlg alert(returned[0], shell::AlertKind::CameBack);
        RunModal(
            alert,
            [&](controls::CDialog& dialog) {
                EXPECT_EQ(ControlText(dialog, IDC_ALERT_TEXT),
                          "\"Chat\" has put itself back on Windows startup after it was switched "
                          "off.");
                EXPECT_EQ(ControlText(dialog, IDOK), "Switch Off Again");
                EXPECT_EQ(ControlText(dialog, IDCANCEL), "Cancel");
                dialog.SendCommand(button);
            },
            host.Window());
        EXPECT_EQ(RowsOf("Chat"),
                  std::vector<std::string>{kHkcuRun + (button == IDOK ? "|off" : "|back")});
    }
    EXPECT_EQ(StoreRecordsOf("Chat"), 1);
    const auto history = history::ListedFixes();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].action, "Manual Fix");
    EXPECT_EQ(history[0].remarks, "1 Programs fixed successfully");
    EXPECT_TRUE(host.selected.empty());
    EXPECT_TRUE(boxes.shown().empty());

    // Kept off without asking: information only.
    shell::CAlertDlg told(returned[0], shell::AlertKind::KeptOff, 3);
    RunModal(
        told,
        [&](controls::CDialog& dialog) {
            EXPECT_EQ(ControlText(dialog, IDC_ALERT_TEXT),
                      "\"Chat\" and 2 more programs put themselves back on Windows startup and "
                      "were switched off again.");
            EXPECT_FALSE(::IsWindowVisible(dialog.Item(IDOK)));
            EXPECT_EQ(ControlText(dialog, IDCANCEL), "OK");
            dialog.SendCommand(IDCANCEL);
        },
        host.Window());
    EXPECT_EQ(shell::KeptOffText("Chat", 1),
              "\"Chat\" put itself back on Windows startup and was switched off again.");
}

// A window of the test thread that does what the main window does with the monitor's messages,
// without the alert's modal window: it records the announcements and keeps entries off.
class NotifyWindow {
public:
    HWND hwnd() const { return window_.hwnd(); }

    std::vector<std::string> announced;  // "name" or "name (came back)"
    std::vector<std::string> keptOff;    // names switched off again, in order
    int batches = 0;                     // keep-off messages that switched something off
    int alertsAsked = 0;

private:
    bool Handle(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == platform::MSG_MONITOR_NEW_ENTRY) {
            const auto& item = *reinterpret_cast<const StartupItem*>(wParam);
            announced.push_back(item.name + (lParam ? " (came back)" : ""));
            return true;
        }
        if (message != platform::MSG_MONITOR_KEEP_OFF) {
            return false;
        }
        auto& entries = *reinterpret_cast<std::vector<StartupItem>*>(wParam);
        const auto outcome = cleanup::KeepReturnedOff(entries, engine::ReportStyle::Free());
        alertsAsked += lParam ? 1 : 0;
        batches += outcome.switchedOff > 0 ? 1 : 0;
        for (const StartupItem& entry : entries) {
            if (!entry.enabled) {
                keptOff.push_back(entry.name);
            }
        }
        return true;
    }

    MessageWindow window_{[this](UINT message, WPARAM wParam, LPARAM lParam) {
        return Handle(message, wParam, lParam);
    }};
};

class KeepOff : public Returning {
protected:
    void SetUp() override {
        Returning::SetUp();
        context_.notifyWindow = window_.hwnd();
    }
    void Pass() { shell::MonitorPass(context_); }
    // Switched off by the user, then put back by "the program".
    void SwitchOffAndPutBack(const std::string& name) {
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, name + ".exe");
        ASSERT_TRUE(engine::DisableStartupItem({name, name + ".exe", kHkcuRun, true},
                                               engine::ReportStyle::Free()));
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, "\"" + name + ".EXE\"");
    }

    shell::MonitorContext context_;
    NotifyWindow window_;
};

TEST_F(KeepOff, WithTheSettingOffAReturnIsAnnouncedAsSuchAndLeftOn) {
    Pass();
    SwitchOffAndPutBack("Updater");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Fresh", "fresh.exe");
    Pass();
    Pass();
    auto announced = window_.announced;
    std::sort(announced.begin(), announced.end());
    EXPECT_EQ(announced, (std::vector<std::string>{"Fresh", "Updater (came back)"}));
    EXPECT_TRUE(window_.keptOff.empty());
    EXPECT_EQ(RowsOf("Updater"), std::vector<std::string>{kHkcuRun + "|back"});
}

TEST_F(KeepOff, WithTheSettingOnEveryPassSwitchesReturnsOffAsOneRecordedFixButNotIgnoredOnes) {
    shell::WriteSetting("1", shell::kKeepOffSetting);
    SwitchOffAndPutBack("Early");  // already back at the baseline pass: kept off at the next
    Pass();
    EXPECT_TRUE(window_.keptOff.empty());
    SwitchOffAndPutBack("Chatty");
    SwitchOffAndPutBack("Pinned");
    StartupItem pinned{"Pinned", "\"Pinned.EXE\"", kHkcuRun, true};
    ASSERT_EQ(cleanup::AddToIgnoreList(pinned), cleanup::IgnoreResult::Done);
    Pass();
    auto keptOff = window_.keptOff;
    std::sort(keptOff.begin(), keptOff.end());
    EXPECT_EQ(keptOff, (std::vector<std::string>{"Chatty", "Early"}));
    EXPECT_EQ(window_.alertsAsked, 1);
    // Announced: only the ignored one, which is left on.
    EXPECT_EQ(window_.announced, (std::vector<std::string>{"Pinned (came back)"}));
    EXPECT_EQ(RowsOf("Pinned"), std::vector<std::string>{kHkcuRun + "|back"});
    EXPECT_EQ(StoreRecordsOf("Chatty"), 1);
    EXPECT_EQ(StoreRecordsOf("Early"), 1);

    const auto history = history::ListedFixes();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].action, "Kept Off");
    EXPECT_EQ(history[0].remarks, "2 Programs switched off again");
    std::vector<StartupItem> recorded;
    history::ReadFixFile(history[0].fixFilePath, recorded);
    ASSERT_EQ(recorded.size(), 2u);
    // The newest commands.
    EXPECT_TRUE(recorded[0].command == "\"Chatty.EXE\"" || recorded[1].command == "\"Chatty.EXE\"");

    // "Warning" unticked: still switched off, nobody asked; off again: back to announcing.
    shell::WriteSetting("0", "Warning");
    SwitchOffAndPutBack("Quiet");
    Pass();
    EXPECT_EQ(window_.keptOff.back(), "Quiet");
    EXPECT_EQ(window_.alertsAsked, 1);
    shell::WriteSetting("1", "Warning");
    shell::WriteSetting("0", shell::kKeepOffSetting);
    SwitchOffAndPutBack("Later");
    Pass();
    EXPECT_EQ(window_.announced.back(), "Later (came back)");
    EXPECT_EQ(RowsOf("Later"), std::vector<std::string>{kHkcuRun + "|back"});
}

// 500 passes on a worker while a writer puts 50 switched-off entries back in a random order;
// this thread plays the window. Every entry ends switched off once more, with one store record,
// and each switch-off is in the history once.
TEST_F(KeepOff, StressFiftyReturnsDuringFiveHundredPasses) {
    shell::WriteSetting("1", shell::kKeepOffSetting);
    shell::WriteSetting("0", "Warning");
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i) {
        names.push_back("Back" + std::to_string(100 + i));
        const std::string command = "C:\\Apps\\" + names.back() + "\\1.0.1\\run.exe";
        SetRunValue(HKEY_CURRENT_USER, kRunKey, names.back(), command);
        ASSERT_TRUE(engine::DisableStartupItem({names.back(), command, kHkcuRun, true},
                                               engine::ReportStyle::Free()));
    }
    Pass();  // the baseline
    // A fixed order by default; VELBROOK_RANDOM_SEED replays another.
    const char* given = std::getenv("VELBROOK_RANDOM_SEED");
    const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 24u;
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<std::string> order = names;
    std::shuffle(order.begin(), order.end(), random);

    std::atomic<int> passes{0};
    std::atomic<bool> written{false};
    std::thread writer([&] {
        for (size_t i = 0; i < order.size(); ++i) {
            // Some come back in a new version folder.
            SetRunValue(
                HKEY_CURRENT_USER, kRunKey, order[i],
                "C:\\Apps\\" + order[i] + (i % 2 ? "\\1.0.2\\run.exe" : "\\1.0.1\\run.exe"));
            // Spread over the first passes, in step with them rather than with the clock.
            const int until = passes + 1 + static_cast<int>(random() % 4);
            while (passes < until && passes < 400) {
                ::Sleep(1);
            }
        }
        written = true;
    });
    std::thread monitor([&] {
        for (int i = 0; i < 500; ++i) {
            shell::MonitorPass(context_);
            ++passes;
        }
    });
    while (passes < 500) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    writer.join();
    monitor.join();
    ASSERT_TRUE(written);

    std::map<std::string, int> switchedOff;
    for (const auto& name : window_.keptOff) {
        ++switchedOff[name];
    }
    std::map<std::string, int> inHistory;
    int records = 0;
    for (const auto& fix : history::ListedFixes()) {
        EXPECT_EQ(fix.action, "Kept Off");
        std::vector<StartupItem> items;
        history::ReadFixFile(fix.fixFilePath, items);
        EXPECT_EQ(fix.remarks, std::to_string(items.size()) + " Programs switched off again");
        for (const auto& item : items) {
            ++inHistory[item.name];
        }
        ++records;
    }
    EXPECT_EQ(records, window_.batches);
    for (size_t i = 0; i < order.size(); ++i) {
        const std::string& name = order[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(switchedOff[name], 1);
        EXPECT_EQ(inHistory[name], 1);
        EXPECT_EQ(StoreRecordsOf(name), 1);
        EXPECT_EQ(RowsOf(name), std::vector<std::string>{kHkcuRun + "|off"});
        EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, name), "<missing>");
    }
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
