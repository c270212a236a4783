#include "shell/velbrook_dlg.h"

#include "engine/product_name.h"
#include "engine/startup_item.h"
#include "platform/app_messages.h"
#include "platform/message_box.h"
#include "platform/web_page.h"
#include "res/art_ids.h"
#include "shell/layered_dlg.h"
#include "shell/core/main_window_finder.h"
#include "shell/main_timers.h"
#include "shell/monitor.h"
#include "shell/new_startup_alert.h"
#include "shell/core/settings_key.h"
#include "shell/splash_screen_dlg.h"
#include "shell/startup_flags.h"
#include "shell/startup_update_check.h"
#include "shell/tab_settings_page.h"
#include "update/site_config.h"
#include "update/version_check.h"

#include <algorithm>

static_assert(IDC_HEADER_HOME == shell::kMainWindowMarkId,
              "the finder knows the main window by it");

namespace shell {

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);
constexpr COLORREF kSubtitleColour = RGB(32, 77, 165);
constexpr UINT kHeaderButtonIds[3] = {IDC_HEADER_HOME, IDC_HEADER_STARTUPS, IDC_HEADER_SETTINGS};
constexpr art::ButtonBitmaps kHeaderBitmaps[3] = {art::kHeaderHome, art::kHeaderStartups,
                                                  art::kHeaderSettings};
constexpr char kUpdateQuestion[] =
    "An important software update is available. Would you like to download and install?";

}  // namespace

CVelbrookDlg::CVelbrookDlg()
    : DialogImpl(IDD_VELBROOK_DIALOG, kBackground), pages_(CreateMainPages()) {}

CVelbrookDlg::~CVelbrookDlg() {
    if (controls::CurrentPageHost() == this) {
        controls::SetPageHost(nullptr);
    }
}

const controls::MessageTable<CVelbrookDlg>& CVelbrookDlg::Messages() {
    using namespace platform;
    using controls::OnCommand;
    using controls::OnMessage;
    static const controls::MessageTable<CVelbrookDlg> table = {
        OnMessage(WM_INITDIALOG, &CVelbrookDlg::OnInitDialog),
        OnMessage(WM_DESTROY, &CVelbrookDlg::OnDestroy),
        OnMessage(WM_SHOWWINDOW, &CVelbrookDlg::OnShowWindow),
        OnMessage(MSG_AFTER_FIRST_SHOW, &CVelbrookDlg::OnAfterFirstShow),
        OnMessage(WM_SYSCOMMAND, &CVelbrookDlg::OnSysCommand),
        OnMessage(WM_CLOSE, &CVelbrookDlg::OnClose),
        OnMessage(WM_WINDOWPOSCHANGING, &CVelbrookDlg::OnWindowPosChanging),
        OnMessage(WM_GETMINMAXINFO, &CVelbrookDlg::OnGetMinMaxInfo),
        OnMessage(WM_PAINT, &CVelbrookDlg::OnPaint),
        OnMessage(WM_QUERYDRAGICON, &CVelbrookDlg::OnQueryDragIcon),
        OnMessage(MSG_TRAY_NOTIFY, &CVelbrookDlg::OnTrayNotify),
        OnMessage(MSG_SHOW_RUNNING_COPY, &CVelbrookDlg::OnShowRunningCopy),
        OnMessage(MSG_MONITOR_NEW_ENTRY, &CVelbrookDlg::OnNewStartup),
        OnMessage(MSG_MONITOR_DONE, &CVelbrookDlg::OnMonitorDone),
        OnMessage(MSG_MONITOR_KEEP_OFF, &CVelbrookDlg::OnKeepOff),
        OnMessage(MSG_UPDATE_CHECK_DONE, &CVelbrookDlg::OnUpdateCheckDone),
        controls::OnCommandRange(IDC_HEADER_HOME, IDC_HEADER_SETTINGS,
                                 &CVelbrookDlg::OnHeaderButton),
        OnCommand(IDC_ABOUT_LINK, &CVelbrookDlg::OnAbout),
        OnCommand(IDC_HELP_LINK, &CVelbrookDlg::OnHelp),
        OnCommand(IDC_FEEDBACK_LINK, &CVelbrookDlg::OnFeedback),
        OnCommand(ID_TRAY_LAUNCH, &CVelbrookDlg::OnTrayLaunch),
        OnCommand(ID_TRAY_VISIT_WEBSITE, &CVelbrookDlg::OnTrayVisitWebsite),
        OnCommand(ID_TRAY_EXIT, &CVelbrookDlg::OnTrayExit),
        controls::OnTimer(kStartTimer, &CVelbrookDlg::OnStartTimer),
        controls::OnTimer(kMonitorTimer, &CVelbrookDlg::OnMonitorTimer),
    };
    return table;
}

LRESULT CVelbrookDlg::OnInitDialog(WPARAM, LPARAM) {
    controls::SetPageHost(this);

    char aboutText[128] = {};
    if (::LoadStringA(::GetModuleHandle(nullptr), IDS_ABOUTBOX, aboutText, sizeof aboutText) > 0) {
        if (HMENU systemMenu = ::GetSystemMenu(hwnd(), FALSE)) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }

    const HINSTANCE module = ::GetModuleHandle(nullptr);
    bigIcon_.reset(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(art::kMainIcon),
                                                   IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                                   ::GetSystemMetrics(SM_CYICON), 0)));
    smallIcon_.reset(static_cast<HICON>(::LoadImageA(module, MAKEINTRESOURCEA(art::kMainIcon),
                                                     IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                     ::GetSystemMetrics(SM_CYSMICON), 0)));
    ::SendMessage(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    ::SendMessage(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

    // The window is laid out and its home page made (which lists every entry) while the splash
    // is on screen, so the window shows its first page as the splash ends.
    bool prepared = false;
    const auto prepare = [this, &prepared] {
        prepared = true;
        // The window starts at its minimum size at least, centred on the work area, before the
        // anchoring measures it.
        RECT window;
        ::GetWindowRect(hwnd(), &window);
        const int width = std::max<int>(window.right - window.left, kMinimumWindowWidth);
        const int height = std::max<int>(window.bottom - window.top, kMinimumWindowHeight);
        RECT work{};
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        ::SetWindowPos(hwnd(), nullptr,
                       work.left + std::max(0L, (work.right - work.left - width) / 2),
                       work.top + std::max(0L, (work.bottom - work.top - height) / 2), width,
                       height, SWP_NOZORDER | SWP_NOACTIVATE);

        SetUpHeader();
        for (UINT id : {IDC_ABOUT_LINK, IDC_HELP_LINK, IDC_FEEDBACK_LINK, IDC_LINK_SEPARATOR_1,
                        IDC_LINK_SEPARATOR_2, IDC_MAIN_LOGO}) {
            Anchor(id, controls::kMoveWithRight);
        }
        // Only the home page is made now; every other page gets its window on its first visit.
        SelectPage(controls::kHomePage);
    };
    CSplashScreenDlg splash(prepare);
    splash.DoModal(hwnd());
    if (!prepared) {
        prepare();  // no splash could be shown
    }

    SetTimer(kMonitorTimer, kFirstMonitorDelayMs);
    SetTimer(kStartTimer, kStartDelayMs);
    return TRUE;
}

// The tray icon costs seconds under Wine: it waits until the window is on screen.
LRESULT CVelbrookDlg::OnShowWindow(WPARAM shown, LPARAM) {
    if (shown && !shownOnce_) {
        shownOnce_ = true;
        ::PostMessage(hwnd(), platform::MSG_AFTER_FIRST_SHOW, 0, 0);
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT CVelbrookDlg::OnAfterFirstShow(WPARAM, LPARAM) {
    // The window paints first: a posted message comes before the painting otherwise.
    ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    ApplyTraySetting();
    return 1;
}

void CVelbrookDlg::SetUpHeader() {
    title_.SubclassDlgItem(IDC_MAIN_TITLE, hwnd());
    title_.SetFontName("Arial")
        .SetFontSize(27)
        .SetFontBold(true)
        .SetTextColor(kSubtitleColour)
        .SetBkColor(kBackground)
        .SetText(engine::ProductName);
    separator1_.SubclassDlgItem(IDC_LINK_SEPARATOR_1, hwnd());
    separator1_.SetFontName("Arial").SetFontSize(9).SetBkColor(kBackground);
    separator2_.SubclassDlgItem(IDC_LINK_SEPARATOR_2, hwnd());
    separator2_.SetFontName("Arial").SetFontSize(9).SetBkColor(kBackground);
    subtitle_.SubclassDlgItem(IDC_MAIN_SUBTITLE, hwnd());
    subtitle_.SetFontName("Arial")
        .SetFontSize(12)
        .SetTextColor(kSubtitleColour)
        .SetBkColor(kBackground);

    controls::CHyperLinkButton* links[] = {&aboutLink_, &helpLink_, &feedbackLink_};
    const UINT linkIds[] = {IDC_ABOUT_LINK, IDC_HELP_LINK, IDC_FEEDBACK_LINK};
    for (int i = 0; i < 3; ++i) {
        links[i]->SubclassDlgItem(linkIds[i], hwnd());
        links[i]->SetFont("Arial", 14, false);
        links[i]->SetColors(kSubtitleColour, RGB(0, 102, 204), kBackground);
    }
    for (int i = 0; i < 3; ++i) {
        headerButtons_[i].SubclassDlgItem(kHeaderButtonIds[i], hwnd());
        headerButtons_[i].SetBitmaps(kHeaderBitmaps[i]);
    }
}

void CVelbrookDlg::CreatePageWindow(controls::CDialog& page) {
    if (!page.Create(hwnd())) {
        return;
    }
    // Where the page sits at the size the anchoring was measured at, then grown with the
    // window as it is now.
    ::SetWindowPos(page.hwnd(), nullptr, kPageArea.left, kPageArea.top,
                   kPageArea.right - kPageArea.left, kPageArea.bottom - kPageArea.top,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    Anchor(page.hwnd(), controls::kStretchWidth | controls::kStretchHeight);
    if (!::IsIconic(hwnd())) {
        controlPos().MoveControls();
    }
}

LRESULT CVelbrookDlg::OnDestroy(WPARAM, LPARAM) {
    KillTimer(kStartTimer);
    KillTimer(kMonitorTimer);
    tray_.Remove();
    if (controls::CurrentPageHost() == this) {
        controls::SetPageHost(nullptr);
    }
    SetMsgHandled(false);
    return 0;
}

void CVelbrookDlg::SelectPage(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size()) || index == visible_) {
        return;
    }
    if (controls::CDialog* page = Page(index); page && page->hwnd()) {
        ::ShowWindow(page->hwnd(), SW_SHOW);
    }
    if (index < 3) {
        controls::ShowButtonChosen(headerButtons_[index], kHeaderBitmaps[index], true);
    }
    if (visible_ >= 0) {
        if (controls::CDialog* page = Page(visible_); page && page->hwnd()) {
            ::ShowWindow(page->hwnd(), SW_HIDE);
        }
        if (visible_ < 3) {
            controls::ShowButtonChosen(headerButtons_[visible_], kHeaderBitmaps[visible_], false);
        }
    }
    visible_ = index;
}

void CVelbrookDlg::SelectSettingsSubPage(int index) {
    if (auto* settings = dynamic_cast<CTabSettingsPage*>(Page(controls::kTabSettingsPage))) {
        settings->SelectChild(index);
    }
}

controls::CDialog* CVelbrookDlg::Page(int index) {
    if (index < 0 || index >= static_cast<int>(pages_.size())) {
        return nullptr;
    }
    controls::CDialog* page = pages_[index].get();
    if (page && !page->hwnd() && hwnd()) {
        CreatePageWindow(*page);
    }
    return page;
}

void CVelbrookDlg::ApplyTraySetting() {
    trayApplied_ = true;
    if (ReadSetting("systray", 1) == 0) {
        tray_.Remove();
    } else if (!tray_.wanted()) {
        tray_.Add(hwnd(), platform::MSG_TRAY_NOTIFY, smallIcon_.get(), engine::ProductName);
    }
}

void CVelbrookDlg::ShowUpdateOverlay() { shell::RunInVeil(nullptr, hwnd()); }

INT_PTR CVelbrookDlg::RunInVeil(controls::CDialog* inner) {
    return shell::RunInVeil(inner, hwnd());
}

LRESULT CVelbrookDlg::OnSysCommand(WPARAM command, LPARAM) {
    const WPARAM id = command & 0xFFF0;
    if (id >= 16 && id <= 31) {
        controls::ShowPage(controls::kAboutPage);
        return 0;
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT CVelbrookDlg::OnClose(WPARAM wParam, LPARAM lParam) {
    ::ShowWindow(hwnd(), SW_HIDE);
    // Hidden with no tray icon, the window could not be reached again and "Exit" with it: the
    // close box then ends the program, as the installer's request does.
    if ((wParam == 1 && lParam == 1) || !HasTrayIcon()) {
        EndDialog(IDOK);
    }
    return 0;
}

bool CVelbrookDlg::HasTrayIcon() const {
    // Until the first show adds it, the setting says whether it will be there. While it is
    // being added (the shell's answer lets this very message in), it is wanted, not added.
    return trayApplied_ ? tray_.wanted() : ReadSetting("systray", 1) != 0;
}

LRESULT CVelbrookDlg::OnWindowPosChanging(WPARAM, LPARAM position) {
    auto* pos = reinterpret_cast<WINDOWPOS*>(position);
    if (!(pos->flags & SWP_NOSIZE) && !::IsIconic(hwnd())) {
        pos->cx = std::max(pos->cx, kMinimumWindowWidth);
        pos->cy = std::max(pos->cy, kMinimumWindowHeight);
    }
    SetMsgHandled(false);
    return 0;
}

LRESULT CVelbrookDlg::OnGetMinMaxInfo(WPARAM, LPARAM info) {
    auto* limits = reinterpret_cast<MINMAXINFO*>(info);
    limits->ptMinTrackSize.x = kMinimumWindowWidth;
    limits->ptMinTrackSize.y = kMinimumWindowHeight;
    return 0;
}

LRESULT CVelbrookDlg::OnPaint(WPARAM, LPARAM) {
    if (!::IsIconic(hwnd())) {
        SetMsgHandled(false);
        return 0;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd(), &paint);
    RECT client;
    ::GetClientRect(hwnd(), &client);
    const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, bigIcon_.get());
    ::EndPaint(hwnd(), &paint);
    return 0;
}

LRESULT CVelbrookDlg::OnQueryDragIcon(WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(bigIcon_.get());
}

void CVelbrookDlg::BringBack() {
    ::ShowWindow(hwnd(), SW_SHOW);
    ::ShowWindow(hwnd(), SW_RESTORE);
    ::SetActiveWindow(hwnd());
    ::SetForegroundWindow(hwnd());
}

LRESULT CVelbrookDlg::OnTrayNotify(WPARAM, LPARAM mouseMessage) {
    if (mouseMessage == WM_RBUTTONUP) {
        ShowTrayMenu();
    } else if (mouseMessage == WM_LBUTTONUP) {
        BringBack();
    }
    return 0;
}

void CVelbrookDlg::ShowTrayMenu() {
    HMENU menu = ::LoadMenuA(::GetModuleHandle(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
    if (!menu) {
        return;
    }
    if (HMENU list = ::GetSubMenu(menu, 0)) {
        POINT cursor{};
        ::GetCursorPos(&cursor);
        ::SetForegroundWindow(hwnd());
        ::TrackPopupMenu(list, TPM_LEFTBUTTON, cursor.x, cursor.y, 0, hwnd(), nullptr);
        // Lets the menu close when the user clicks elsewhere next time.
        ::PostMessage(hwnd(), WM_NULL, 0, 0);
    }
    ::DestroyMenu(menu);
}

LRESULT CVelbrookDlg::OnShowRunningCopy(WPARAM, LPARAM) {
    BringBack();
    return 1;
}

LRESULT CVelbrookDlg::OnNewStartup(WPARAM item, LPARAM cameBack) {
    if (item) {
        ShowNewStartupAlert(hwnd(), *reinterpret_cast<const engine::StartupItem*>(item),
                            cameBack ? AlertKind::CameBack : AlertKind::NewEntry);
        TellPagesEntriesChanged();
    }
    return 1;
}

LRESULT CVelbrookDlg::OnKeepOff(WPARAM entries, LPARAM alerts) {
    if (entries &&
        KeepOffAndTell(hwnd(), *reinterpret_cast<std::vector<engine::StartupItem>*>(entries),
                       alerts != 0) > 0) {
        TellPagesEntriesChanged();
    }
    return 1;
}

// The page shown lists again at once, the others when next shown.
void CVelbrookDlg::TellPagesEntriesChanged() {
    for (const auto& page : pages_) {
        if (page && page->hwnd()) {
            ::PostMessage(page->hwnd(), platform::MSG_ENTRIES_CHANGED, 0, 0);
        }
    }
}

LRESULT CVelbrookDlg::OnMonitorDone(WPARAM, LPARAM) { return 1; }

void CVelbrookDlg::OnHeaderButton(UINT id) {
    controls::ShowPage(static_cast<int>(id - IDC_HEADER_HOME));
}

void CVelbrookDlg::OnAbout() { controls::ShowPage(controls::kAboutPage); }

void CVelbrookDlg::OnHelp() { platform::OpenWebPage(update::HelpPageUrl()); }

void CVelbrookDlg::OnFeedback() { platform::OpenWebPage(update::FeedbackPageUrl()); }

void CVelbrookDlg::OnTrayLaunch() {
    ::BringWindowToTop(hwnd());
    ::ShowWindow(hwnd(), SW_SHOW);
    ::ShowWindow(hwnd(), SW_RESTORE);
}

void CVelbrookDlg::OnTrayVisitWebsite() { platform::OpenWebPage(update::ProductSiteUrl()); }

void CVelbrookDlg::OnTrayExit() { EndDialog(IDOK); }

// The request goes out on a worker so that a slow network never freezes the window; the
// monitor waits for the answer, as it would wait for a check made here.
void CVelbrookDlg::OnStartTimer() {
    KillTimer(kStartTimer);
    KillTimer(kMonitorTimer);
    StartUpdateCheck(hwnd(), update::StartupCheckSkip(StartedAtLogon()));
}

LRESULT CVelbrookDlg::OnUpdateCheckDone(WPARAM available, LPARAM) {
    if (available &&
        platform::ShowMessageBox(hwnd(), kUpdateQuestion, engine::ProductName, MB_YESNO) == IDYES) {
        BringBack();
        ShowUpdateOverlay();
    }
    SetTimer(kMonitorTimer, kFirstMonitorDelayMs);
    return 1;
}

void CVelbrookDlg::OnMonitorTimer() {
    KillTimer(kMonitorTimer);
    StartMonitorPass(hwnd());
    SetTimer(kMonitorTimer, kMonitorPeriodMs);
}

}  // namespace shell
