// A monitor pass against one full listing, on the same seeded machine: both read every source;
// the pass also looks each name up among the known entries, which must stay cheap however
// many there are.

#include "bench/seeded_machine.h"
#include "bench/timing.h"
#include "engine/known_items.h"
#include "engine/listing.h"
#include "shell/monitor.h"

#include <algorithm>
#include <cstdio>

int main() {
    bench::SeedMachine({});
    shell::MonitorContext context;  // no notify window: nobody is alerted
    shell::MonitorPass(context);    // the baseline: every entry becomes known
    const size_t known =
        engine::KnownStartupItems().WithItems([](auto& items) { return items.size(); });

    size_t listed = 0;
    double listing = 1e300, pass = 1e300;
    // Alternate the two so that both see the same machine state and caches.
    for (int round = 0; round < 5; ++round) {
        listing = std::min(listing, bench::BestOfMilliseconds(
                                        1, [&] { listed = engine::ListStartupItems().size(); }));
        pass = std::min(pass, bench::BestOfMilliseconds(1, [&] { shell::MonitorPass(context); }));
    }
    std::printf("entries: listing %zu, known to the monitor %zu\n", listed, known);
    std::printf("full listing   %8.1f ms\n", listing);
    std::printf("monitor pass   %8.1f ms\n", pass);
    std::printf("ratio pass/listing %.2f (goal <= 1.2)\n", pass / listing);
    return 0;
}
