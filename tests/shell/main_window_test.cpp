// The main window in this process: its pages and header buttons, the tab-settings page, the
// close rules, the minimum size, the links and the veil.

#include "cleanup/ignore_list.h"
#include "controls/dialog.h"
#include "engine/switching.h"
#include "history/home_page_ids.h"
#include "history/manual_save.h"
#include "platform/app_messages.h"
#include "platform/web_page.h"
#include "shell/about_dlg.h"
#include "shell/layered_dlg.h"
#include "shell/main_timers.h"
#include "shell/core/settings_key.h"
#include "shell/tab_settings_page.h"
#include "shell/tray_notify_icon.h"
#include "shell/velbrook_dlg.h"
#include "shell_test_ids.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/machine_state.h"
#include "update/site_config.h"
#include "views/wnd_startups_page.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using shell::CVelbrookDlg;
using testing_support::PumpUntil;

// Runs the main window modally; script runs once the window is on screen (after the splash).
INT_PTR RunMainWindow(CVelbrookDlg& window, const std::function<void(CVelbrookDlg&)>& script) {
    static CVelbrookDlg* running;
    static const std::function<void(CVelbrookDlg&)>* pending;
    running = &window;
    pending = &script;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) CALLBACK {
        if (!pending || !running->hwnd() || !::IsWindowVisible(running->hwnd())) {
            return;
        }
        ::KillTimer(nullptr, id);
        const auto* toRun = pending;
        pending = nullptr;
        (*toRun)(*running);
        if (running->IsOpen()) {
            running->EndDialog(IDABORT);
        }
    });
    const INT_PTR result = window.DoModal();
    ::KillTimer(nullptr, timer);
    pending = nullptr;
    return result;
}

// While owner is set, a dialog it owns (the new-startup alert) is cancelled as it comes up.
void CancelOwnedDialogs(HWND owner) {
    static HWND watched;
    static UINT_PTR timer;
    watched = owner;
    if (timer) {
        ::KillTimer(nullptr, timer);
        timer = 0;
    }
    if (!owner) {
        return;
    }
    timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND window, LPARAM) CALLBACK -> BOOL {
                if (::GetWindow(window, GW_OWNER) == watched && ::IsWindowVisible(window)) {
                    ::PostMessage(window, WM_COMMAND, IDCANCEL, 0);
                }
                return TRUE;
            },
            0);
    });
}

bool Visible(const controls::CDialog* page) { return page && ::IsWindowVisible(page->hwnd()); }

bool SameIds(const art::ButtonBitmaps& a, const art::ButtonBitmaps& b) {
    return a.normal == b.normal && a.hot == b.hot && a.pressed == b.pressed;
}

bool ShowsPressed(const controls::CXPButton& button, const art::ButtonBitmaps& bitmaps) {
    return SameIds(button.bitmapIds(), {bitmaps.pressed, bitmaps.pressed, bitmaps.pressed});
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        // Nothing answers there: the check at start finds no update at once.
        ::SetEnvironmentVariableA("VELBROOK_SITE_URL", "http://127.0.0.1:1");
        testing_support::DeleteSetting("systray");
        previous_ = platform::SetWebPageHandler([this](const std::string& address) {
            opened.push_back(address);
            return true;
        });
    }
    void TearDown() override {
        platform::SetWebPageHandler(previous_);
        testing_support::DeleteSetting("systray");
    }
    std::vector<std::string> opened;

private:
    platform::WebPageHandler previous_;
};

TEST_F(MainWindow, HeaderButtonsSwitchPagesAndShowWhichIsPressed) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        EXPECT_EQ(controls::CurrentPageHost(), &w);
        ASSERT_EQ(w.VisiblePage(), controls::kHomePage);
        EXPECT_TRUE(Visible(w.Page(controls::kHomePage)));
        EXPECT_TRUE(ShowsPressed(w.headerButton(0), art::kHeaderHome));
        EXPECT_TRUE(SameIds(w.headerButton(1).bitmapIds(), art::kHeaderStartups));

        w.SendCommand(IDC_HEADER_STARTUPS);
        EXPECT_EQ(w.VisiblePage(), controls::kWindowsStartupsPage);
        EXPECT_TRUE(Visible(w.Page(controls::kWindowsStartupsPage)));
        EXPECT_FALSE(Visible(w.Page(controls::kHomePage)));
        EXPECT_TRUE(ShowsPressed(w.headerButton(1), art::kHeaderStartups));
        EXPECT_TRUE(SameIds(w.headerButton(0).bitmapIds(), art::kHeaderHome));

        // The About link and the system menu's item both lead to the About page, which has
        // no header button: none shows pressed.
        w.SendCommand(IDC_ABOUT_LINK);
        EXPECT_EQ(w.VisiblePage(), controls::kAboutPage);
        EXPECT_FALSE(Visible(w.Page(controls::kWindowsStartupsPage)));
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(w.headerButton(i).bitmapIds().normal ==
                         w.headerButton(i).bitmapIds().pressed)
                << i;
        }
        w.Page(controls::kAboutPage)->SendCommand(IDC_ABOUT_BACK);
        EXPECT_EQ(w.VisiblePage(), controls::kHomePage);
        ::SendMessage(w.hwnd(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        EXPECT_EQ(w.VisiblePage(), controls::kAboutPage);

        controls::ShowPage(controls::kManualFixPage);
        EXPECT_TRUE(Visible(w.Page(controls::kManualFixPage)));
        EXPECT_FALSE(Visible(w.Page(controls::kAboutPage)));
        w.SelectPage(-1);
        EXPECT_EQ(w.VisiblePage(), controls::kManualFixPage);
        EXPECT_TRUE(Visible(w.Page(controls::kManualFixPage)));
    });
    EXPECT_EQ(controls::CurrentPageHost(), nullptr);
}

TEST_F(MainWindow, TheSystemMenuCarriesTheAboutItem) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        HMENU menu = ::GetSystemMenu(w.hwnd(), FALSE);
        char text[64] = {};
        ::GetMenuStringA(menu, IDM_ABOUTBOX, text, sizeof text, MF_BYCOMMAND);
        EXPECT_STREQ(text, "&About Velbrook...");
    });
}

TEST_F(MainWindow, TabSettingsPageShowsItsFirstChildThenKeepsTheChosenOne) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        auto* tabs = dynamic_cast<shell::CTabSettingsPage*>(w.Page(controls::kTabSettingsPage));
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(tabs->VisibleChild(), -1);
        w.SendCommand(IDC_HEADER_SETTINGS);
        ASSERT_EQ(tabs->VisibleChild(), controls::kSettingsSubPage);
        EXPECT_TRUE(Visible(tabs->Child(0)));
        EXPECT_TRUE(ShowsPressed(tabs->button(0), art::kTabSettings));

        tabs->SendCommand(IDC_TAB_HISTORY);
        EXPECT_EQ(tabs->VisibleChild(), controls::kHistorySubPage);
        EXPECT_TRUE(Visible(tabs->Child(2)));
        EXPECT_FALSE(Visible(tabs->Child(0)));
        EXPECT_TRUE(SameIds(tabs->button(0).bitmapIds(), art::kTabSettings));
        EXPECT_TRUE(ShowsPressed(tabs->button(2), art::kTabHistory));

        // Away and back: the history stays chosen.
        w.SendCommand(IDC_HEADER_HOME);
        w.SendCommand(IDC_HEADER_SETTINGS);
        EXPECT_EQ(tabs->VisibleChild(), controls::kHistorySubPage);

        w.SelectSettingsSubPage(controls::kIgnoreListSubPage);
        EXPECT_EQ(tabs->VisibleChild(), controls::kIgnoreListSubPage);
        EXPECT_TRUE(Visible(tabs->Child(1)));
        tabs->SelectChild(3);
        EXPECT_EQ(tabs->VisibleChild(), controls::kIgnoreListSubPage);

        // The child pages sit in the frame and grow with the page.
        RECT child;
        ::GetWindowRect(tabs->Child(1)->hwnd(), &child);
        ::MapWindowPoints(HWND_DESKTOP, tabs->hwnd(), reinterpret_cast<POINT*>(&child), 2);
        EXPECT_EQ(child.left, 9);
        EXPECT_EQ(child.top, 39);
    });
}

int ListRows(const controls::CDialog* page) {
    return ListView_GetItemCount(::GetDlgItem(page->hwnd(), 1041));
}

// Each way to the history and the ignore list shows what the files hold now, also when the
// sub-page was already chosen before (and then no show notification reaches it).
TEST_F(MainWindow, TheHistoryAndIgnoreListShowTheFilesAsTheyAreNowWhicheverWayLeadsThere) {
    testing_support::ResetDataFolder();
    testing_support::ResetStartupSources();
    testing_support::SetRunValue(HKEY_CURRENT_USER, testing_support::kRunKey, "Stale",
                                 "C:\\stale.exe");
    cleanup::LoadIgnoreList();
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        auto* tabs = dynamic_cast<shell::CTabSettingsPage*>(w.Page(controls::kTabSettingsPage));
        ASSERT_NE(tabs, nullptr);
        w.SendCommand(IDC_HEADER_SETTINGS);
        tabs->SendCommand(IDC_TAB_HISTORY);
        EXPECT_EQ(ListRows(tabs->Child(controls::kHistorySubPage)), 0);
        w.SendCommand(IDC_HEADER_HOME);

        engine::StartupItem entry{"Stale", "C:\\stale.exe",
                                  std::string("HKCU\\") + testing_support::kRunKey, true};
        ASSERT_TRUE(
            history::SaveManualChanges({{&entry, false}}, engine::ReportStyle::Free()).recorded);
        w.Page(controls::kHomePage)->SendCommand(IDC_HOME_VIEW_HISTORY);
        ASSERT_EQ(tabs->VisibleChild(), controls::kHistorySubPage);
        EXPECT_EQ(ListRows(tabs->Child(controls::kHistorySubPage)), 1) << "View History";

        tabs->SendCommand(IDC_TAB_IGNORE_LIST);
        EXPECT_EQ(ListRows(tabs->Child(controls::kIgnoreListSubPage)), 0);
        ASSERT_EQ(cleanup::AddToIgnoreList(entry), cleanup::IgnoreResult::Done);
        tabs->SendCommand(IDC_TAB_IGNORE_LIST);
        EXPECT_EQ(ListRows(tabs->Child(controls::kIgnoreListSubPage)), 1) << "its sub-tab button";

        w.SendCommand(IDC_HEADER_HOME);
        engine::StartupItem other{"Other", "C:\\other.exe", entry.location, true};
        ASSERT_EQ(cleanup::AddToIgnoreList(other), cleanup::IgnoreResult::Done);
        w.SendCommand(IDC_HEADER_SETTINGS);
        EXPECT_EQ(ListRows(tabs->Child(controls::kIgnoreListSubPage)), 2) << "the header button";
    });
    testing_support::ResetDataFolder();
    testing_support::ResetStartupSources();
    cleanup::LoadIgnoreList();
}

// The monitor's news reaches the pages: the one shown lists again at once, a hidden one when
// it is next shown.
TEST_F(MainWindow, PagesListAgainWhenTheMonitorSwitchedAnEntryOffAgainOrAnnouncedOne) {
    using testing_support::kRunKey;
    testing_support::ResetDataFolder();
    testing_support::ResetStartupSources();
    const std::string run = std::string("HKCU\\") + kRunKey;
    engine::StartupItem pushy{"Pushy", "pushy.exe", run, true};
    testing_support::SetRunValue(HKEY_CURRENT_USER, kRunKey, pushy.name, pushy.command);
    ASSERT_TRUE(engine::DisableStartupItem(pushy, engine::ReportStyle::Free()));
    testing_support::SetRunValue(HKEY_CURRENT_USER, kRunKey, pushy.name, pushy.command);
    pushy.returned = true;
    CVelbrookDlg window;
    RunMainWindow(window, [&](CVelbrookDlg& w) {
        auto* startups =
            dynamic_cast<views::CWndStartupsPage*>(w.Page(controls::kWindowsStartupsPage));
        ASSERT_NE(startups, nullptr);
        w.SendCommand(IDC_HEADER_STARTUPS);
        ASSERT_TRUE(startups->IsActive("Pushy"));

        std::vector<engine::StartupItem> back{pushy};
        ::SendMessage(w.hwnd(), platform::MSG_MONITOR_KEEP_OFF, reinterpret_cast<WPARAM>(&back), 0);
        EXPECT_TRUE(PumpUntil([&] { return !startups->IsActive("Pushy"); }));

        // Announced while the home page is shown: once the alert is answered, the startups
        // page has the new entry.
        w.SendCommand(IDC_HEADER_HOME);
        engine::StartupItem fresh{"Fresh", "fresh.exe", run, true};
        testing_support::SetRunValue(HKEY_CURRENT_USER, kRunKey, fresh.name, fresh.command);
        CancelOwnedDialogs(w.hwnd());
        ::SendMessage(w.hwnd(), platform::MSG_MONITOR_NEW_ENTRY, reinterpret_cast<WPARAM>(&fresh),
                      0);
        CancelOwnedDialogs(nullptr);
        w.SendCommand(IDC_HEADER_STARTUPS);
        EXPECT_TRUE(PumpUntil([&] { return startups->IsActive("Fresh"); }));
    });
    testing_support::ResetDataFolder();
    testing_support::ResetStartupSources();
}

TEST_F(MainWindow, CloseHidesAndOnlyTheInstallersRequestEndsIt) {
    CVelbrookDlg window;
    const INT_PTR result = RunMainWindow(window, [](CVelbrookDlg& w) {
        ::SendMessage(w.hwnd(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(::IsWindowVisible(w.hwnd()));
        EXPECT_TRUE(w.IsOpen());
        ::SendMessage(w.hwnd(), platform::MSG_TRAY_NOTIFY, shell::kTrayIconId, WM_MOUSEMOVE);
        EXPECT_FALSE(::IsWindowVisible(w.hwnd()));
        ::SendMessage(w.hwnd(), platform::MSG_TRAY_NOTIFY, shell::kTrayIconId, WM_LBUTTONUP);
        EXPECT_TRUE(::IsWindowVisible(w.hwnd()));

        ::ShowWindow(w.hwnd(), SW_MINIMIZE);
        ::SendMessage(w.hwnd(), WM_CLOSE, 1, 0);
        EXPECT_TRUE(w.IsOpen());
        EXPECT_EQ(::SendMessage(w.hwnd(), platform::MSG_SHOW_RUNNING_COPY, 0, 0), 1);
        EXPECT_TRUE(::IsWindowVisible(w.hwnd()));
        EXPECT_FALSE(::IsIconic(w.hwnd()));

        ::SendMessage(w.hwnd(), WM_CLOSE, 1, 1);
        EXPECT_FALSE(w.IsOpen());
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(MainWindow, TrayExitEndsTheWindow) {
    CVelbrookDlg window;
    const INT_PTR result = RunMainWindow(window, [](CVelbrookDlg& w) {
        EXPECT_TRUE(w.tray().wanted());
        w.SendCommand(ID_TRAY_EXIT);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(MainWindow, TheTraySettingDecidesWhetherTheIconIsWanted) {
    shell::WriteSetting(0, "systray");
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        EXPECT_FALSE(w.tray().wanted());
        EXPECT_FALSE(w.tray().added());
        shell::WriteSetting(1, "systray");
        w.ApplyTraySetting();
        EXPECT_TRUE(w.tray().wanted());
    });
}

TEST_F(MainWindow, NeverSmallerThanTheMinimumAndThePagesFollowTheSize) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        ::SetWindowPos(w.hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        RECT r;
        ::GetWindowRect(w.hwnd(), &r);
        EXPECT_EQ(r.right - r.left, shell::kMinimumWindowWidth);
        EXPECT_EQ(r.bottom - r.top, shell::kMinimumWindowHeight);

        RECT before;
        ::GetWindowRect(w.Page(controls::kHomePage)->hwnd(), &before);
        ::SetWindowPos(w.hwnd(), nullptr, 0, 0, shell::kMinimumWindowWidth + 100,
                       shell::kMinimumWindowHeight + 60, SWP_NOMOVE | SWP_NOZORDER);
        RECT after;
        ::GetWindowRect(w.Page(controls::kHomePage)->hwnd(), &after);
        EXPECT_EQ((after.right - after.left) - (before.right - before.left), 100);
        EXPECT_EQ((after.bottom - after.top) - (before.bottom - before.top), 60);
        EXPECT_EQ(after.top - before.top, 0);
    });
}

// Pages other than the home page get their window on the first visit; one made after the
// window has grown fills the grown page area as the home page does.
TEST_F(MainWindow, PagesMadeOnTheirFirstVisitFitTheWindowAsItIsThen) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        ::SetWindowPos(w.hwnd(), nullptr, 0, 0, shell::kMinimumWindowWidth + 80,
                       shell::kMinimumWindowHeight + 40, SWP_NOMOVE | SWP_NOZORDER);
        w.SendCommand(IDC_HEADER_STARTUPS);
        controls::CDialog* startups = w.Page(controls::kWindowsStartupsPage);
        ASSERT_TRUE(Visible(startups));
        RECT home, page;
        ::GetWindowRect(w.Page(controls::kHomePage)->hwnd(), &home);
        ::GetWindowRect(startups->hwnd(), &page);
        EXPECT_TRUE(::EqualRect(&home, &page))
            << page.left << "," << page.top << "," << page.right << "," << page.bottom << " vs "
            << home.left << "," << home.top << "," << home.right << "," << home.bottom;

        // Asking for a page makes its window too, hidden, and the same object stays in the slot.
        controls::CDialog* about = w.Page(controls::kAboutPage);
        ASSERT_NE(about, nullptr);
        EXPECT_NE(about->hwnd(), nullptr);
        EXPECT_FALSE(Visible(about));
        EXPECT_EQ(w.Page(controls::kAboutPage), about);
        EXPECT_EQ(w.Page(5), nullptr);
    });
}

TEST_F(MainWindow, LinksOpenTheirPagesOfTheSite) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        w.SendCommand(IDC_HELP_LINK);
        w.SendCommand(IDC_FEEDBACK_LINK);
        w.SendCommand(ID_TRAY_VISIT_WEBSITE);
    });
    EXPECT_EQ(opened, (std::vector<std::string>{update::HelpPageUrl(), update::FeedbackPageUrl(),
                                                update::ProductSiteUrl()}));
}

TEST_F(MainWindow, AboutPageShowsTheVersionAndTheAddresses) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        controls::CDialog& about = *w.Page(controls::kAboutPage);
        EXPECT_EQ(testing_support::ControlText(about, IDC_ABOUT_VERSION), "3.1.4.15");
        EXPECT_EQ(testing_support::ControlText(about, IDC_ABOUT_SUPPORT_MAIL),
                  shell::kSupportMailAddress);
        EXPECT_EQ(testing_support::ControlText(about, IDC_ABOUT_INFO_MAIL),
                  shell::kInfoMailAddress);
        EXPECT_EQ(testing_support::ControlText(about, IDC_ABOUT_CHECK_FOR_UPDATES),
                  "Check For Updates");
    });
}

// A dialog that looks at the veil around it, then ends with the answer it was given.
class CInnerDlg : public controls::DialogImpl<CInnerDlg> {
public:
    explicit CInnerDlg(INT_PTR answer) : DialogImpl(IDD_TEST_INNER), answer_(answer) {}
    static const controls::MessageTable<CInnerDlg>& Messages() {
        static const controls::MessageTable<CInnerDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CInnerDlg::OnInitDialog),
            controls::OnTimer(1, &CInnerDlg::OnLook),
        };
        return table;
    }
    HWND veil = nullptr;
    HWND veilOwner = nullptr;
    LONG_PTR veilExStyle = 0;
    BYTE veilAlpha = 0;
    RECT veilRect{};

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        SetTimer(1, 10);
        return TRUE;
    }
    void OnLook() {
        KillTimer(1);
        veil = ::GetWindow(hwnd(), GW_OWNER);
        veilOwner = ::GetWindow(veil, GW_OWNER);
        veilExStyle = ::GetWindowLongPtr(veil, GWL_EXSTYLE);
        DWORD flags = 0;
        ::GetLayeredWindowAttributes(veil, nullptr, &veilAlpha, &flags);
        ::GetWindowRect(veil, &veilRect);
        EndDialog(answer_);
    }
    INT_PTR answer_;
};

TEST_F(MainWindow, TheVeilCoversTheWindowWhileTheInnerDialogRuns) {
    CVelbrookDlg window;
    RunMainWindow(window, [](CVelbrookDlg& w) {
        CInnerDlg accepting(IDOK);
        EXPECT_EQ(shell::RunInVeil(&accepting), IDOK);
        ASSERT_NE(accepting.veil, nullptr);
        EXPECT_NE(accepting.veil, w.hwnd());
        EXPECT_EQ(accepting.veilOwner, w.hwnd());
        EXPECT_TRUE(accepting.veilExStyle & WS_EX_LAYERED);
        EXPECT_EQ(accepting.veilAlpha, 127);
        RECT main;
        ::GetWindowRect(w.hwnd(), &main);
        EXPECT_TRUE(::EqualRect(&main, &accepting.veilRect));
        EXPECT_FALSE(::IsWindow(accepting.veil));

        CInnerDlg other(42);
        EXPECT_EQ(shell::RunInVeil(&other), IDCANCEL);
        // The veil ignores Enter and Esc: only the inner dialog ends it.
        EXPECT_TRUE(w.IsOpen());
    });
}

}  // namespace
