#include "shell/page_table.h"

#include "cleanup/ignore_list_page.h"
#include "history/history_page.h"
#include "history/home_page.h"
#include "shell/about_dlg.h"
#include "shell/settings_page.h"
#include "shell/tab_settings_page.h"
#include "views/manul_startups_page.h"
#include "views/wnd_startups_page.h"

namespace shell {

// One line per slot: a page's own class replaces its placeholder.
MainPages CreateMainPages() {
    return {
        std::make_unique<history::CHomePage>(),         // kHomePage
        std::make_unique<views::CWndStartupsPage>(),    // kWindowsStartupsPage
        std::make_unique<CTabSettingsPage>(),           // kTabSettingsPage
        std::make_unique<CAboutDlg>(),                  // kAboutPage
        std::make_unique<views::CManulStartupsPage>(),  // kManualFixPage
    };
}

SettingsSubPages CreateSettingsSubPages() {
    return {
        std::make_unique<CSettingsPage>(),             // kSettingsSubPage
        std::make_unique<cleanup::CIgnoreListPage>(),  // kIgnoreListSubPage
        std::make_unique<history::CSetHistory>(),      // kHistorySubPage
    };
}

}  // namespace shell
