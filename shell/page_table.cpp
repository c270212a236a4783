#include "shell/page_table.h"

#include "shell/about_dlg.h"
#include "shell/placeholder_page.h"
#include "shell/tab_settings_page.h"

namespace shell {

// One line per slot: a page's own class replaces its placeholder.
MainPages CreateMainPages() {
    return {
        std::make_unique<CPlaceholderPage>("Home"),              // kHomePage
        std::make_unique<CPlaceholderPage>("Windows Startups"),  // kWindowsStartupsPage
        std::make_unique<CTabSettingsPage>(),                    // kTabSettingsPage
        std::make_unique<CAboutDlg>(),                           // kAboutPage
        std::make_unique<CPlaceholderPage>("Manual Fix"),        // kManualFixPage
    };
}

SettingsSubPages CreateSettingsSubPages() {
    return {
        std::make_unique<CPlaceholderPage>("Settings", CPlaceholderPage::kSubPage),     // kSettingsSubPage
        std::make_unique<CPlaceholderPage>("Ignore List", CPlaceholderPage::kSubPage),  // kIgnoreListSubPage
        std::make_unique<CPlaceholderPage>("History", CPlaceholderPage::kSubPage),      // kHistorySubPage
    };
}

}  // namespace shell
