// A reload of the Manual Fix page against the engine's listing of the same machine: the page
// may add the rows' cost, at most as much again as the listing itself. The rows' publishers
// come later, on workers: the reload only starts them.

#include "bench/publishers_wait.h"
#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "engine/listing.h"
#include "tests/support/page_test_host.h"
#include "views/manul_startups_page.h"

#include <algorithm>
#include <cstdio>

int main() {
    bench::SeedMachine({});
    testing_support::PageTestHost host;
    views::CManulStartupsPage page;
    if (!host.Add(shell::kManualFixPage, page)) {
        std::printf("the page could not be made\n");
        return 1;
    }
    ::ShowWindow(page.hwnd(), SW_SHOW);
    size_t listed = 0;
    const int runs = 5;
    double reload = 1e300, listing = 1e300;
    // Alternate the two so that both see the same machine state and caches.
    for (int round = 0; round < runs; ++round) {
        reload = std::min(reload, bench::BestOfMilliseconds(1, [&] { page.Reload(); }));
        // The publishers' workers started by the reload must not slow the listing down.
        bench::PumpUntilPublishers(page.list());
        listing = std::min(listing, bench::BestOfMilliseconds(1, [&] {
                               listed =
                                   engine::ListStartupItems(engine::EntryFilter::Active).size();
                           }));
    }
    std::printf("entries: page rows %d, listing %zu\n", page.list().RowCount(), listed);
    std::printf("page reload    %8.1f ms\n", reload);
    std::printf("listing        %8.1f ms\n", listing);
    std::printf("ratio reload/listing %.2f (goal <= 2.0)\n", reload / listing);
    return 0;
}
