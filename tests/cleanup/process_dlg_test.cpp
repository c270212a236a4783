#include "cleanup/process_dlg.h"

#include "cleanup/scrap_scan.h"
#include "controls/text.h"
#include "history/fix_files.h"
#include "platform/app_messages.h"
#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/machine_state.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>

namespace {

using namespace testing_support;
using cleanup::CDlgProcessDlg;

// What reached the dialog and its progress bar, seen before the dialog handles it.
struct RunRecording {
    std::vector<WPARAM> positions;
    std::vector<std::pair<WPARAM, LPARAM>> finished;
};

LRESULT CALLBACK RecordProgress(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR data) {
    if (message == PBM_SETPOS) {
        reinterpret_cast<RunRecording*>(data)->positions.push_back(wParam);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK RecordFinish(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
    if (message == platform::MSG_AUTORUN_DONE) {
        reinterpret_cast<RunRecording*>(data)->finished.emplace_back(wParam, lParam);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

class ProcessDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
        cleanup::ScrapList().items.Clear();
        cleanup::ScrapList().worker.reset();
    }

    // A scrap entry of HKCU Run; present ones exist there, so their switch-off succeeds.
    static void AddEntry(const std::string& name, bool present, bool selected = true) {
        if (present) {
            SetRunValue(HKEY_CURRENT_USER, kRunKey, name, name + ".exe");
        }
        engine::StartupItem item;
        item.name = name;
        item.command = name + ".exe";
        item.location = std::string("HKCU\\") + kRunKey;
        item.enabled = selected;
        cleanup::ScrapList().items.Append(item);
    }

    // Runs the dialog with a recording of its progress; during script the run goes on.
    INT_PTR Run(CDlgProcessDlg& dialog, const std::function<void(controls::CDialog&)>& during) {
        return RunModal(dialog, [&](controls::CDialog& d) {
            ::SetWindowSubclass(d.Item(IDC_AUTORUN_PROGRESS), RecordProgress, 1,
                                reinterpret_cast<DWORD_PTR>(&recording_));
            ::SetWindowSubclass(d.hwnd(), RecordFinish, 1,
                                reinterpret_cast<DWORD_PTR>(&recording_));
            title_ = controls::WindowText(d.hwnd());
            during(d);
            PumpUntil([&] { return !d.IsOpen(); }, 60000);
        });
    }

    RunRecording recording_;
    std::string title_;
};

TEST_F(ProcessDlgTest, RunsEveryEntryStoresTheRunAndCannotBeEndedEarly) {
    AddEntry("Alpha", true);
    AddEntry("Bravo", true);
    AddEntry("Charlie", false);      // gone since the scan: its switch-off fails
    AddEntry("Delta", true, false);  // moved to the ignore list
    AddEntry("Echo", true);
    MessageBoxAnswers boxes;
    CDlgProcessDlg dialog;
    const INT_PTR result = Run(dialog, [](controls::CDialog& d) {
        PumpUntil([&] { return cleanup::ScrapList().worker.get() != nullptr; }, 3000);
        ::PostMessage(d.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
        ::PostMessage(d.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        d.SendCommand(IDOK);
        d.SendCommand(IDCANCEL);
        ::SendMessage(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpMessages();
        EXPECT_TRUE(d.IsOpen());
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(title_, "Velbrook");
    EXPECT_EQ(dialog.fixedCount(), 3);
    EXPECT_EQ(recording_.positions, (std::vector<WPARAM>{0, 1, 2, 3, 4}));
    EXPECT_EQ(recording_.finished, (std::vector<std::pair<WPARAM, LPARAM>>{{5, 3}}));
    EXPECT_EQ(shell::ReadSettingText("scanstatus"), "1");
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "3");
    EXPECT_EQ(shell::ReadSettingText("remaining"), "2");
    EXPECT_FALSE(shell::ReadSettingText("lastclean").empty());
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Delta"), "Delta.exe");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Echo"), "<missing>");
    const auto fixes = history::ReadHistory();
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].remarks, "3 Scrap programs fixed successfully");
}

TEST_F(ProcessDlgTest, ARunWhereEverySwitchFailsStillEndsWithOk) {
    AddEntry("Gone1", false);
    AddEntry("Gone2", false);
    MessageBoxAnswers boxes;
    CDlgProcessDlg dialog;
    EXPECT_EQ(Run(dialog, [](controls::CDialog&) {}), IDOK);
    EXPECT_EQ(dialog.fixedCount(), 0);
    EXPECT_EQ(recording_.finished, (std::vector<std::pair<WPARAM, LPARAM>>{{2, 0}}));
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "0");
    EXPECT_EQ(shell::ReadSettingText("remaining"), "2");
    EXPECT_EQ(boxes.shown().size(), 2u);  // the switch's own failure reports
}

TEST_F(ProcessDlgTest, ALongRunCompletesWhileTheWindowKeepsAnswering) {
    constexpr int kEntries = 300;
    for (int i = 0; i < kEntries; ++i) {
        AddEntry("Scrap" + std::to_string(i), true);
    }
    CDlgProcessDlg dialog;
    std::atomic<bool> probing{true};
    std::atomic<int> unanswered{0}, answered{0};
    HANDLE probe = nullptr;
    const INT_PTR result = Run(dialog, [&](controls::CDialog& d) {
        struct Probe {
            HWND window;
            std::atomic<bool>* probing;
            std::atomic<int>*unanswered, *answered;
        };
        static Probe p;
        p = {d.hwnd(), &probing, &unanswered, &answered};
        probe = ::CreateThread(
            nullptr, 0,
            [](void*) CALLBACK -> DWORD {
                while (p.probing->load()) {
                    DWORD_PTR answer = 0;
                    if (::SendMessageTimeout(p.window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &answer)) {
                        ++*p.answered;
                    } else if (::IsWindow(p.window)) {
                        ++*p.unanswered;
                    }
                    ::Sleep(20);
                }
                return 0;
            },
            nullptr, 0, nullptr);
    });
    probing = false;
    ::WaitForSingleObject(probe, INFINITE);
    ::CloseHandle(probe);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.fixedCount(), kEntries);
    EXPECT_EQ(recording_.positions.size(), static_cast<size_t>(kEntries));
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), std::to_string(kEntries));
    EXPECT_EQ(unanswered.load(), 0);
    EXPECT_GT(answered.load(), 0);
}

}  // namespace
