// A reload of the Manual Fix page against the engine's listing of the same machine: the page
// may add the rows' cost, at most as much again as the listing itself. The rows' publishers
// come later, on workers: the reload only starts them.

#include "bench/publishers_wait.h"
#include "bench/seeded_machine.h"
#include "bench/shown_manual_page.h"
#include "bench/timing.h"
#include "engine/listing.h"

#include <cstdio>

int main() {
    bench::SeedMachine({});
    bench::ShownManualPage shown;
    if (!shown.Show()) {
        return 1;
    }
    views::CManulStartupsPage& page = shown.page;
    size_t listed = 0;
    // The publishers' workers that a reload starts must not slow the listing down.
    const auto samples = bench::Interleaved(
        21,
        {[&] { page.Reload(); },
         [&] { listed = engine::ListStartupItems(engine::EntryFilter::Active).size(); }},
        [&](size_t) { bench::PumpUntilPublishers(page.list()); });
    std::printf("entries: page rows %d, listing %zu\n", page.list().RowCount(), listed);
    bench::PrintTime("page reload", samples[0]);
    bench::PrintTime("listing", samples[1]);
    bench::PrintRatio("reload/listing", bench::Ratios(samples[0], samples[1]), 2.0);
    return 0;
}
