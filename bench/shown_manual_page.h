#pragma once
// The Manual Fix page shown in a stand-in main window, as the page benchmarks time it.

#include "tests/support/page_test_host.h"
#include "views/manul_startups_page.h"

#include <cstdio>

namespace bench {

struct ShownManualPage {
    testing_support::PageTestHost host;
    views::CManulStartupsPage page;

    // Makes and shows the page; false (and a line said why) when it could not be made.
    bool Show() {
        if (!host.Add(controls::kManualFixPage, page)) {
            std::printf("the page could not be made\n");
            return false;
        }
        ::ShowWindow(page.hwnd(), SW_SHOW);
        return true;
    }
};

}  // namespace bench
